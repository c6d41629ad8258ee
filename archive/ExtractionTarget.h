#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/FileDescriptor.h"

namespace wh {

// A folder of the target cannot be used; the text says why (UTF-8).
class ETargetFolder : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why an entry's path cannot exist below the root.
enum class TEntryLengthProblem {
    None,
    NameTooLong, // a component longer than the file system's name limit
    PathTooLong, // root and entry together longer than the path limit
};

// The folder tree an archive is extracted into. Names are matched without
// regard to letter case, as on the file systems the archives are made for,
// and nothing is ever reached outside the root: folders are opened one
// component at a time without following links, and a linked folder is only
// entered when it resolves to a place below the root.
//
// Memory and descriptors stay bounded whatever the archive's shape: a folder
// knows its name and parent rather than its whole path, deep folders give up
// their descriptor once passed, and the cache of folders is dropped when it
// grows past a fixed size.
class TExtractionTarget {
public:
    struct TFolder {
        TFolder* Parent = nullptr;
        std::string Name; // as on the disk; empty for the root
        std::size_t Depth = 0;
        TFileDescriptor Fd; // open while in use; deep folders close it once passed
        std::uint64_t Device = 0;
        std::uint64_t Inode = 0;
        std::optional<std::filesystem::path> RealPath; // the root's and a linked folder's
        bool Listed = false;
        std::unordered_set<std::string> Names;
        std::unordered_map<std::string, std::string> Folded;                // folded name -> entry
        std::unordered_map<std::string, std::unique_ptr<TFolder>> Children; // closed before Fd
    };

    // The root must exist and be a folder; raises ETargetFolder.
    explicit TExtractionTarget(const std::filesystem::path& root);

    // Whether components (folders, then possibly a file name) fit below the
    // root within the file system's limits. Checked before anything is made.
    TEntryLengthProblem CheckLength(const std::vector<std::string>& components) const;

    // The folder named by the first count components, created where missing,
    // its descriptor open. Raises ETargetFolder naming the folder's path.
    TFolder& Folder(const std::vector<std::string>& components, std::size_t count);

    // The entry of the folder that matches name without regard to letter case
    // (an exact match first), or name itself when there is none.
    std::string Resolve(TFolder& folder, const std::string& name);

    // Records an entry just created in the folder.
    void NoteCreated(TFolder& folder, const std::string& name);

    // The folder's path as messages show it (UTF-8).
    std::filesystem::path PathOf(const TFolder& folder) const;

    // Folders made since the last KeepNewFolders or RemoveNewFolders: the
    // ones an entry needed. An entry that fails removes them again, deepest
    // first, and only while they are still empty; one that lands keeps them.
    void KeepNewFolders() { FNew.clear(); }
    void RemoveNewFolders();

private:
    TFolder& Child(TFolder& parent, const std::string& component);
    void Open(TFolder& parent, TFolder& child);
    std::filesystem::path RealPathOf(const TFolder& folder) const;
    void List(TFolder& folder);
    void Forget();

    TFolder FRoot;
    std::size_t FFolders = 0; // below the root, in the cache
    std::size_t FNameMax = 255;
    std::size_t FPathMax = 4096;
    std::vector<TFolder*> FNew;
    // The folder the last entry went to: archives list a folder's files together.
    std::vector<std::string> FLastComponents;
    TFolder* FLast = nullptr;
};

} // namespace wh
