#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct zip;

namespace wh::sample {

// Read access to an existing archive; throws std::runtime_error on any failure.
class TZipReader {
public:
    explicit TZipReader(const std::filesystem::path& path);
    ~TZipReader();
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;

    std::vector<std::string> Names() const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path FPath;
    zip* FArchive = nullptr;
};

} // namespace wh::sample
