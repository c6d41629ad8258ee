#pragma once

#include <filesystem>
#include <string_view>

namespace wh {

// Gives target the content bytes in one step, as a user's file is replaced
// (TReplacementFile with UserFileReplacement): flushed to disk before it
// takes the old file's place, permission bits (and owner where allowed) kept,
// a symbolic link written through, a write-protected target refused.
// Returns 0, or the errno of the failure; then the target is as it was and no
// temporary file is left.
int WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace wh
