#pragma once

#include <filesystem>
#include <string_view>

namespace wh {

// Gives target the content bytes in one step: a temporary file in the same
// folder is written, flushed to disk and renamed over the target, which keeps
// its permission bits (and owner where allowed). A symbolic link is written
// through. A target that exists but may not be written is refused as well.
// Returns 0, or the errno of the failure; then the target is as it was and no
// temporary file is left.
int WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace wh
