#include "platform/PathSnapshot.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/Codepage.h"
#include "platform/NameCase.h"
#include "platform/Paths.h"

namespace wh {

namespace {

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Links and entries of unknown type need a call to say what they lead to.
std::optional<TFileStatus::TKind> CertainKind(unsigned char type) {
    if (type == DT_DIR)
        return TFileStatus::TKind::Folder;
    if (type == DT_REG)
        return TFileStatus::TKind::Regular;
    return std::nullopt;
}

} // namespace

TPathSnapshot::TFolder& TPathSnapshot::FolderOf(const std::string& nativeFolder) {
    const auto [slot, fresh] = FFolders.try_emplace(nativeFolder);
    TFolder& folder = slot->second;
    if (!fresh)
        return folder;
    folder.Resolved = OsPath(nativeFolder).string();
    if (folder.Resolved.empty() || folder.Resolved.back() != PathDelim)
        folder.Resolved += PathDelim;
    const std::unique_ptr<DIR, TDirCloser> dir(::opendir(folder.Resolved.c_str()));
    if (!dir) {
        // Nothing can be found below a folder that is not there.
        folder.State = errno == ENOENT || errno == ENOTDIR ? TFolder::TState::Missing : TFolder::TState::Unreadable;
        return folder;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        folder.Names[FoldNameCase(name)].push_back({name, CertainKind(entry->d_type)});
    }
    if (errno != 0) {
        folder.Names.clear();
        return folder;
    }
    for (auto& [folded, entries] : folder.Names)
        std::sort(entries.begin(), entries.end());
    folder.State = TFolder::TState::Listed;
    return folder;
}

TPathSnapshot::TAnswer TPathSnapshot::Find(const std::string& path, std::string& resolved,
                                           std::optional<TFileStatus::TKind>& kind) {
    const std::string native = NativePath(path);
    const std::size_t separator = native.rfind(PathDelim);
    if (separator == std::string::npos)
        return TAnswer::Unknown;
    const std::string name = native.substr(separator + 1);
    if (name.empty() || name == "." || name == "..")
        return TAnswer::Unknown;
    const TFolder& folder = FolderOf(native.substr(0, separator + 1));
    if (folder.State == TFolder::TState::Missing)
        return TAnswer::Absent;
    if (folder.State == TFolder::TState::Unreadable)
        return TAnswer::Unknown;

    // The name as written when the folder holds it, else the lowest match, as OsPath picks.
    const std::string asWritten = AnsiToUtf8(name);
    const auto found = folder.Names.find(FoldNameCase(asWritten));
    if (found == folder.Names.end())
        return TAnswer::Absent;
    const auto& entries = found->second;
    const auto exact = std::lower_bound(entries.begin(), entries.end(), TEntry{asWritten, std::nullopt});
    const TEntry& entry = exact != entries.end() && exact->Name == asWritten ? *exact : entries.front();
    resolved = folder.Resolved + entry.Name;
    kind = entry.KnownKind;
    return TAnswer::Found;
}

bool TPathSnapshot::Status(const std::string& path, TFileStatus& status) {
    std::string resolved;
    std::optional<TFileStatus::TKind> kind;
    switch (Find(path, resolved, kind)) {
    case TAnswer::Found:
        return PathStatus(resolved, status);
    case TAnswer::Absent:
        return false;
    case TAnswer::Unknown:
        break;
    }
    return OsStatus(path, status);
}

std::optional<TFileStatus::TKind> TPathSnapshot::Kind(const std::string& path) {
    std::string resolved;
    std::optional<TFileStatus::TKind> kind;
    TFileStatus status;
    switch (Find(path, resolved, kind)) {
    case TAnswer::Found:
        if (kind || !PathStatus(resolved, status))
            return kind;
        return status.Kind;
    case TAnswer::Absent:
        return std::nullopt;
    case TAnswer::Unknown:
        break;
    }
    if (!OsStatus(path, status))
        return std::nullopt;
    return status.Kind;
}

} // namespace wh
