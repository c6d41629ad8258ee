#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileStatus.h"

namespace wh {

// Answers OsStatus's question for many paths in few folders, as a catalogue
// load asks it for every row: each folder is listed once, at its first
// question, and a name it does not hold costs no call at all. The answers are
// those of that moment; the owner keeps a snapshot only while nothing it asks
// about is expected to change.
class TPathSnapshot {
public:
    TPathSnapshot() = default;
    TPathSnapshot(const TPathSnapshot&) = delete;
    TPathSnapshot& operator=(const TPathSnapshot&) = delete;

    // As OsStatus.
    bool Status(const std::string& path, TFileStatus& status);
    // What Status would tell of the kind, without a call when the listing
    // already says folder or file.
    std::optional<TFileStatus::TKind> Kind(const std::string& path);

    // How many folders it has looked at, each once.
    std::size_t Listings() const { return FFolders.size(); }

private:
    struct TEntry {
        std::string Name;                            // as the file system spells it
        std::optional<TFileStatus::TKind> KnownKind; // when the listing tells it for certain
        bool operator<(const TEntry& other) const { return Name < other.Name; }
    };
    struct TFolder {
        enum class TState { Listed, Missing, Unreadable };
        TState State = TState::Unreadable;
        std::string Resolved; // with its separator
        // Folded name (FoldNameCase) -> the entries that fold to it, sorted.
        std::unordered_map<std::string, std::vector<TEntry>> Names;
    };
    enum class TAnswer { Unknown, Absent, Found };

    TAnswer Find(const std::string& path, std::string& resolved, std::optional<TFileStatus::TKind>& kind);
    TFolder& FolderOf(const std::string& nativeFolder);

    std::unordered_map<std::string, TFolder> FFolders; // by the folder as spelt in the question
};

} // namespace wh
