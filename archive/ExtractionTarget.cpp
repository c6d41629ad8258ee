#include "archive/ExtractionTarget.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/NameCase.h"

namespace wh {

namespace {

// Cached folders beyond this are dropped before the next entry: each may hold
// a descriptor and a listing.
constexpr std::size_t kMaxCachedFolders = 200;
// Folders this close to the root keep their descriptor; deeper ones close it
// once the way down has passed them, so depth costs no descriptors.
constexpr std::size_t kKeptDepth = 16;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

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

std::size_t Limit(int fd, int name, std::size_t fallback) {
    const long value = ::fpathconf(fd, name);
    return value > 0 ? static_cast<std::size_t>(value) : fallback;
}

} // namespace

TExtractionTarget::TExtractionTarget(const std::filesystem::path& root) {
    FRoot.Fd.Reset(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));   // the root itself may be a link
    if (!FRoot.Fd.IsOpen())
        Raise(root, std::strerror(errno));
    std::error_code ec;
    FRoot.RealPath = std::filesystem::canonical(root, ec);
    if (ec)
        Raise(root, ec.message());
    FRoot.Name = root.string();
    struct stat st;
    if (::fstat(FRoot.Fd.Get(), &st) == 0) {
        FRoot.Device = st.st_dev;
        FRoot.Inode = st.st_ino;
    }
    FNameMax = Limit(FRoot.Fd.Get(), _PC_NAME_MAX, FNameMax);
    FPathMax = Limit(FRoot.Fd.Get(), _PC_PATH_MAX, FPathMax);
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
    TFileDescriptor fd(::openat(folder.Fd.Get(), ".", kFolderFlags));
    if (!fd.IsOpen())
        return;
    DIR* dir = ::fdopendir(fd.Get());
    if (!dir)
        return;
    fd.Release();   // the listing owns it now
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            NoteCreated(folder, name);
    }
    ::closedir(dir);
}

void TExtractionTarget::NoteCreated(TFolder& folder, const std::string& name) {
    if (!folder.Listed)
        return;   // looked up on the disk until the folder is listed
    folder.Names.insert(name);
    // Of several names that differ only in case the lowest wins, whatever the
    // order of the folder.
    auto [it, inserted] = folder.Folded.emplace(FoldNameCase(name), name);
    if (!inserted && name < it->second)
        it->second = name;
}

std::string TExtractionTarget::Resolve(TFolder& folder, const std::string& name) {
    if (!folder.Listed) {
        struct stat st;
        if (::fstatat(folder.Fd.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            return name;
        List(folder);
    }
    if (folder.Names.count(name))
        return name;
    const auto it = folder.Folded.find(FoldNameCase(name));
    return it == folder.Folded.end() ? name : it->second;
}

void TExtractionTarget::Open(TFolder& parent, TFolder& child) {
    const char* name = child.Name.c_str();
    child.RealPath.reset();
    child.Fd.Reset(::openat(parent.Fd.Get(), name, kFolderFlags));
    if (!child.Fd.IsOpen() && errno == ENOENT) {
        if (::mkdirat(parent.Fd.Get(), name, 0777) == 0) {
            FNew.push_back(&child);
            NoteCreated(parent, child.Name);
        } else if (errno != EEXIST) {
            Raise(PathOf(child), std::strerror(errno));
        }
        child.Fd.Reset(::openat(parent.Fd.Get(), name, kFolderFlags));
    }
    if (!child.Fd.IsOpen()) {
        const int error = errno;
        struct stat st;
        if (::fstatat(parent.Fd.Get(), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            Raise(PathOf(child), std::strerror(error));
        if (!S_ISLNK(st.st_mode))
            Raise(PathOf(child), S_ISDIR(st.st_mode) ? std::strerror(error) : "exists but is not a folder");
        // A linked folder is entered only when it stays below the root.
        std::error_code ec;
        const auto real = std::filesystem::canonical(RealPathOf(parent) / child.Name, ec);
        if (ec || !IsBelow(real, *FRoot.RealPath))
            Raise(PathOf(child), "symbolic link leads outside the target folder");
        child.Fd.Reset(::open(real.c_str(), kFolderFlags));
        if (!child.Fd.IsOpen())
            Raise(PathOf(child), std::strerror(errno));
        child.RealPath = real;
    }
    struct stat st;
    if (::fstat(child.Fd.Get(), &st) == 0) {
        child.Device = st.st_dev;
        child.Inode = st.st_ino;
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
                up.Reset(::openat(folder->Fd.Get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            struct stat st;
            if (!up.IsOpen() || ::fstat(up.Get(), &st) != 0 || st.st_dev != parent.Device ||
                st.st_ino != parent.Inode) {
                FNew.clear();
                return;
            }
            parent.Fd = std::move(up);
        }
        folder->Children.clear();
        folder->Fd.Reset();
        // Only an empty folder goes: whatever landed in it meanwhile stays.
        ::unlinkat(parent.Fd.Get(), folder->Name.c_str(), AT_REMOVEDIR);
        parent.Listed = false;
        parent.Names.clear();
        parent.Folded.clear();
        parent.Children.erase(folder->Name);
        --FFolders;
    }
}

} // namespace wh
