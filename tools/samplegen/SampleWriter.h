#pragma once

#include <filesystem>
#include <string>

namespace wh::sample {

struct TSampleSummary {
    int Packages = 0;
    int Liveries = 0;
    int Pending = 0;
    std::string InstalledLivery; // "package\texture" of the livery placed in the simulator folder
};

// Writes <outdir>/source (the collection as a local directory or web root)
// and <outdir>/fs2002 (a simulator folder with one livery in place).
// Both are replaced when an earlier run made them; folders of that name that
// this generator did not make are left alone and the run fails.
TSampleSummary WriteSample(const std::filesystem::path& outdir);

} // namespace wh::sample
