#include "archive/ExtractionTarget.h"

#include <algorithm>
#include <cstring>

#include "archive/ZipEntryName.h"
#include "platform/FileStatus.h"
#include "platform/FolderEntries.h"
#include "platform/NameCase.h"
#include "platform/SystemError.h"

namespace wh {

namespace {

// Cached folders beyond this are dropped before the next entry: each may hold
// a descriptor and a listing.
constexpr std::size_t kMaxCachedFolders = 200;
// Folders this close to the root keep their descriptor; deeper ones close it
// once the way down has passed them, so depth costs no descriptors.
constexpr std::size_t kKeptDepth = 16;

constexpr unsigned kFolderFlags = OpenRead | OpenFolder | OpenNoFollow;

bool IsBelow(const std::filesystem::path& path, const std::filesystem::path& root) {
    const std::string p = path.string();
    const std::string r = root.string();
    if (p == r)
        return true;
    const std::string prefix = r.ends_with('/') ? r : r + "/";
    return p.compare(0, prefix.size(), prefix) == 0;
}

[[noreturn]] void Raise(const std::filesystem::path& path, const std::string& reason) {
    throw ETargetFolder(path.string() + ": " + reason);
}

} // namespace

TExtractionTarget::TExtractionTarget(const std::filesystem::path& root) {
    FRoot.Fd = OpenFile(root, OpenRead | OpenFolder); // the root itself may be a link
    if (!FRoot.Fd.IsOpen())
        Raise(root, std::strerror(LastError()));
    std::error_code ec;
    FRoot.RealPath = std::filesystem::canonical(root, ec);
    if (ec)
        Raise(root, ec.message());
    FRoot.Name = root.string();
    TFileStatus st;
    if (HandleStatus(FRoot.Fd.Get(), st)) {
        FRoot.Device = st.Device;
        FRoot.Inode = st.Inode;
    }
    FNameMax = NameLengthLimit(FRoot.Fd.Get(), FNameMax);
    FPathMax = PathLengthLimit(FRoot.Fd.Get(), FPathMax);
}

TEntryLengthProblem TExtractionTarget::CheckLength(const std::vector<std::string>& components) const {
    // The longer of the two ways the root is named; both must stay usable.
    std::size_t length = std::max(FRoot.Name.size(), FRoot.RealPath->native().size());
    for (const auto& component : components) {
        if (component.size() > FNameMax)
            return TEntryLengthProblem::NameTooLong;
        length += 1 + component.size();
    }
    // The limit counts the terminating zero.
    return length >= FPathMax ? TEntryLengthProblem::PathTooLong : TEntryLengthProblem::None;
}

std::filesystem::path TExtractionTarget::PathOf(const TFolder& folder) const {
    std::vector<const std::string*> names;
    for (const TFolder* f = &folder; f->Parent; f = f->Parent)
        names.push_back(&f->Name);
    std::filesystem::path path = FRoot.Name;
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        path /= **it;
    return path;
}

std::filesystem::path TExtractionTarget::RealPathOf(const TFolder& folder) const {
    std::vector<const std::string*> names;
    const TFolder* f = &folder;
    for (; !f->RealPath; f = f->Parent)
        names.push_back(&f->Name);
    std::filesystem::path path = *f->RealPath;
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        path /= **it;
    return path;
}

void TExtractionTarget::List(TFolder& folder) {
    folder.Listed = true;
    const auto names = FolderEntriesOf(folder.Fd.Get());
    if (!names)
        return;
    for (const std::string& name : *names)
        NoteCreated(folder, name);
}

void TExtractionTarget::NoteCreated(TFolder& folder, const std::string& name) {
    if (!folder.Listed)
        return; // looked up on the disk until the folder is listed
    folder.Names.insert(name);
    // Of several names that differ only in case the lowest wins, whatever the
    // order of the folder.
    auto [it, inserted] = folder.Folded.emplace(FoldNameCase(name), name);
    if (!inserted && name < it->second)
        it->second = name;
}

std::string TExtractionTarget::Resolve(TFolder& folder, const std::string& name) {
    if (!folder.Listed) {
        TFileStatus st;
        if (EntryStatus(folder.Fd.Get(), name, st))
            return name;
        List(folder);
    }
    if (folder.Names.count(name))
        return name;
    const auto it = folder.Folded.find(FoldNameCase(name));
    return it == folder.Folded.end() ? name : it->second;
}

void TExtractionTarget::Open(TFolder& parent, TFolder& child) {
    const std::string& name = child.Name;
    child.RealPath.reset();
    child.Fd = OpenFileAt(parent.Fd.Get(), name, kFolderFlags);
    if (!child.Fd.IsOpen() && LastError() == ENOENT) {
        if (MakeFolderAt(parent.Fd.Get(), name)) {
            FNew.push_back(&child);
            NoteCreated(parent, child.Name);
        } else if (LastError() != EEXIST) {
            Raise(PathOf(child), std::strerror(LastError()));
        }
        child.Fd = OpenFileAt(parent.Fd.Get(), name, kFolderFlags);
    }
    if (!child.Fd.IsOpen()) {
        const int error = LastError();
        TFileStatus st;
        if (!EntryStatus(parent.Fd.Get(), name, st))
            Raise(PathOf(child), std::strerror(error));
        if (!st.IsLink())
            Raise(PathOf(child), st.IsFolder() ? std::strerror(error) : "exists but is not a folder");
        // A linked folder is entered only when it stays below the root.
        std::error_code ec;
        const auto real = std::filesystem::canonical(RealPathOf(parent) / child.Name, ec);
        if (ec || !IsBelow(real, *FRoot.RealPath))
            Raise(PathOf(child), "symbolic link leads outside the target folder");
        child.Fd = OpenFile(real, kFolderFlags);
        if (!child.Fd.IsOpen())
            Raise(PathOf(child), std::strerror(LastError()));
        child.RealPath = real;
    }
    TFileStatus st;
    if (HandleStatus(child.Fd.Get(), st)) {
        child.Device = st.Device;
        child.Inode = st.Inode;
    }
}

TExtractionTarget::TFolder& TExtractionTarget::Child(TFolder& parent, const std::string& component) {
    const std::string name = Resolve(parent, component);
    if (const auto it = parent.Children.find(name); it != parent.Children.end()) {
        if (!it->second->Fd.IsOpen())
            Open(parent, *it->second);
        return *it->second;
    }
    auto made = std::make_unique<TFolder>();
    made->Parent = &parent;
    made->Name = name;
    made->Depth = parent.Depth + 1;
    TFolder& child = *parent.Children.emplace(name, std::move(made)).first->second;
    ++FFolders;
    try {
        Open(parent, child);
    } catch (const ETargetFolder&) {
        // A folder made before the failure stays known, so that it can be removed.
        if (FNew.empty() || FNew.back() != &child) {
            parent.Children.erase(name);
            --FFolders;
        }
        throw;
    }
    return child;
}

void TExtractionTarget::Forget() {
    FRoot.Children.clear();
    FFolders = 0;
    FLast = nullptr;
}

TExtractionTarget::TFolder& TExtractionTarget::Folder(const std::vector<std::string>& components, std::size_t count) {
    count = std::min(count, components.size());
    if (FLast && FLast->Fd.IsOpen() && FLastComponents.size() == count &&
        std::equal(FLastComponents.begin(), FLastComponents.end(), components.begin()))
        return *FLast;
    FLast = nullptr;
    if (FNew.empty() && FFolders > kMaxCachedFolders)
        Forget();
    TFolder* folder = &FRoot;
    for (std::size_t i = 0; i < count; ++i) {
        TFolder& next = Child(*folder, components[i]);
        if (folder->Depth > kKeptDepth)
            folder->Fd.Reset();
        folder = &next;
    }
    FLastComponents.assign(components.begin(), components.begin() + static_cast<std::ptrdiff_t>(count));
    FLast = folder;
    return *folder;
}

void TExtractionTarget::RemoveNewFolders() {
    FLast = nullptr;
    while (!FNew.empty()) {
        TFolder* folder = FNew.back();
        FNew.pop_back();
        TFolder& parent = *folder->Parent;
        if (!parent.Fd.IsOpen()) {
            // A deep parent gave up its descriptor on the way down; a folder we
            // made is no link, so its ".." is that parent, as the inode confirms.
            TFileDescriptor up;
            if (folder->Fd.IsOpen())
                up = OpenFileAt(folder->Fd.Get(), "..", OpenRead | OpenFolder);
            TFileStatus st;
            if (!up.IsOpen() || !HandleStatus(up.Get(), st) || st.Device != parent.Device || st.Inode != parent.Inode) {
                FNew.clear();
                return;
            }
            parent.Fd = std::move(up);
        }
        folder->Children.clear();
        folder->Fd.Reset();
        // Only an empty folder goes: whatever landed in it meanwhile stays.
        RemoveFolderAt(parent.Fd.Get(), folder->Name);
        parent.Listed = false;
        parent.Names.clear();
        parent.Folded.clear();
        parent.Children.erase(folder->Name);
        --FFolders;
    }
}

} // namespace wh
