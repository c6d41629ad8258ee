#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/FileStatus.h"

namespace wh {

// The core composes paths with "\" as on the program's home platform, and may
// receive "/" in paths typed on Linux. The platform maps both at its edge.

#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif

// A path as the user should see it in messages: native separators, runs of
// separators folded into one, still Windows-1252 text.
std::string NativePath(const std::string& path);

// The path for an operating-system call: NativePath in the file system's
// encoding, each component that does not exist as written resolved to an
// existing entry of the same name without regard to letter case (so
// "Aircraft\Texture.ABC" is found as "aircraft/texture.abc"). Components
// that match nothing are kept as written.
std::filesystem::path OsPath(const std::string& path);

// The status of the entry OsPath names, in fewer calls than OsPath and stat
// apart: a path found as written costs one call, and a component that
// matches nothing ends the search. False when there is no such entry.
bool OsStatus(const std::string& path, TFileStatus& status);

// Everything up to and including the last "\" or "/" (or ":"); empty if none.
std::string ExtractFilePath(const std::string& path);
// Everything after the last "\" or "/" (or ":").
std::string ExtractFileName(const std::string& path);
// The path with its extension (from the last "." of the file name) replaced
// by ext, or ext appended when the file name has none. ext includes the ".".
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// The running executable's full path (Windows-1252).
std::string ExecutablePath();

bool FileExists(const std::string& path); // an existing file; a directory does not count
bool DirectoryExists(const std::string& path);
// Size in bytes (0 for a directory), or -1 when there is no such entry.
std::int32_t FileSizeOf(const std::string& path);

// Text trimmed (codes up to 32 at both ends), separator appended unless the
// result is empty or already ends with it.
std::string AppendSeparator(const std::string& text, char separator);

// The machine-wide folder for application data shared by all users
// (<localstatedir>/lib on Linux); empty when it cannot be named. Tests point
// it at a temporary folder with OverrideCommonAppDataFolder; an empty text
// restores the real one.
std::string CommonAppDataFolder();
void OverrideCommonAppDataFolder(const std::string& folder);

} // namespace wh
