#pragma once

#include <cstdint>
#include <string>

namespace wh {

class TReplacementFile;

inline constexpr int CSIDL_COMMON_APPDATA = 0x23;
inline constexpr int CSIDL_FLAG_CREATE = 0x8000;

// The working directory: the common application-data folder + "Wingharbour"
// where the user may write there, else "Wingharbour" in the user's data folder,
// ending with a separator; created when missing. Worked out afresh at every call.
std::string WorkingDir();

// Text trimmed (codes up to 32 at both ends), separator appended unless the
// result is empty or already ends with it.
std::string AppendSeparator(const std::string& text, char separator);

// Copies in 8192-byte blocks. Raises EFOpenError "Could not open \"%s\".",
// EReadError "Error reading from \"%s\"", EWriteError "Error writing \"%s\"".
void FileCopy(const std::string& source, const std::string& destination);
// The same into a replacement, whose messages name the file it replaces; the
// caller commits it.
void FileCopy(const std::string& source, TReplacementFile& destination);

// Size in bytes, or -1 when there is no such entry.
std::int32_t FileSizeOf(const std::string& path);

// Empties the directory tree below dir (dir itself stays); never fails.
void DeleteDirectoryContents(const std::string& dir);

// The folder of a shell special-folder id; the executable's directory when
// the folder cannot be named.
std::string SpecialFolderPath(int folderId);
std::string CommonAppDataDir();

// Creates every missing directory of the path; failures are ignored.
// An empty path raises EInOutError.
void CreateDirectoryPath(const std::string& path);


} // namespace wh
