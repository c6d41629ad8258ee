#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace wh {

// The names in a folder as the system spells them, "." and ".." left out;
// empty when the folder cannot be read.
std::optional<std::vector<std::string>> FolderEntries(const std::filesystem::path& folder);
// The same of an open folder; the handle itself stays as it is.
std::optional<std::vector<std::string>> FolderEntriesOf(int folderFd);

// Making, removing and renaming entries. Each is true on success; on failure
// LastError() tells why.
bool MakeFolder(const std::filesystem::path& path, unsigned permissions = 0777);
bool MakeFolderAt(int folderFd, const std::string& name, unsigned permissions = 0777);
bool RemoveFile(const std::filesystem::path& path); // anything but a folder
bool RemoveFileAt(int folderFd, const std::string& name);
bool RemoveFolder(const std::filesystem::path& path); // only an empty one
bool RemoveFolderAt(int folderFd, const std::string& name);
bool RenameAt(int fromFolderFd, const std::string& from, int toFolderFd, const std::string& to);

// The longest name and path below an open folder, fallback when the system
// does not say.
std::size_t NameLengthLimit(int folderFd, std::size_t fallback);
std::size_t PathLengthLimit(int folderFd, std::size_t fallback);

} // namespace wh
