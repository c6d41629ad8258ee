#pragma once

#include <string>

namespace wh {

class TReplacementFile;

// Copies in 8192-byte blocks. Raises EFOpenError "Could not open \"%s\".",
// EReadError "Error reading from \"%s\"", EWriteError "Error writing \"%s\"".
void FileCopy(const std::string& source, const std::string& destination);
// The same into a replacement, whose messages name the file it replaces; the
// caller commits it.
void FileCopy(const std::string& source, TReplacementFile& destination);

} // namespace wh
