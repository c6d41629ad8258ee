#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
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

// The folder tree an archive is extracted into. Names are matched without
// regard to letter case, as on the file systems the archives are made for,
// and nothing is ever reached outside the root: folders are opened one
// component at a time without following links, and a linked folder is only
// entered when it resolves to a place below the root.
class TExtractionTarget {
public:
    struct TFolder {
        TFileDescriptor Fd;
        std::filesystem::path Path;       // for messages
        std::filesystem::path RealPath;   // without links, for the containment check
        bool Listed = false;
        std::unordered_set<std::string> Names;
        std::unordered_map<std::string, std::string> Folded;   // folded name -> entry
        std::unordered_map<std::string, std::unique_ptr<TFolder>> Children;   // closed before Fd
    };

    // The root must exist and be a folder; raises ETargetFolder.
    explicit TExtractionTarget(const std::filesystem::path& root);

    // The folder named by the first count components, created where missing.
    // Raises ETargetFolder naming the folder's path in the text.
    TFolder& Folder(const std::vector<std::string>& components, std::size_t count);

    // The entry of the folder that matches name without regard to letter case
    // (an exact match first), or name itself when there is none.
    std::string Resolve(TFolder& folder, const std::string& name);

    // Records an entry just created in the folder.
    void NoteCreated(TFolder& folder, const std::string& name);

private:
    TFolder& Child(TFolder& parent, const std::string& component);
    void List(TFolder& folder);

    TFolder FRoot;
    std::size_t FOpenFolders = 0;
};

} // namespace wh
