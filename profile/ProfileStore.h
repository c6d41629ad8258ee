#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "profile/ProfileDocument.h"

namespace wh {

// Profile files as the store sees them: parsed once and kept for the process,
// yet checked against the disk at every call, so a file changed, replaced or
// deleted by anyone is seen at the next call.

// The file's current content; an empty document for a missing or unreadable
// file (or a directory).
std::shared_ptr<const TProfileDocument> LoadProfile(const std::string& fileName);

// Replaces the file's content in one step (see WriteFileAtomically). A refused
// write raises EWriteError "Unable to write to " and the file's path, and
// leaves the file as it was.
void SaveProfile(const std::string& fileName, std::string bytes);

// How many files the store keeps parsed; the least recently used goes first.
inline constexpr std::size_t ProfileCacheCapacity = 8;
std::size_t CachedProfileCount();

} // namespace wh
