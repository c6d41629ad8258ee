#include "archive/ExtractionTarget.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "archive/ZipEntryName.h"

namespace wh {

namespace {

// Deep archives would otherwise hold a descriptor per folder.
constexpr std::size_t kMaxOpenFolders = 200;

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

} // namespace

TExtractionTarget::TExtractionTarget(const std::filesystem::path& root) {
    FRoot.Path = root;
    FRoot.Fd.Reset(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));   // the root itself may be a link
    if (!FRoot.Fd.IsOpen())
        Raise(root, std::strerror(errno));
    std::error_code ec;
    FRoot.RealPath = std::filesystem::canonical(root, ec);
    if (ec)
        Raise(root, ec.message());
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

TExtractionTarget::TFolder& TExtractionTarget::Child(TFolder& parent, const std::string& component) {
    const std::string name = Resolve(parent, component);
    if (const auto it = parent.Children.find(name); it != parent.Children.end())
        return *it->second;

    auto child = std::make_unique<TFolder>();
    child->Path = parent.Path / name;
    child->RealPath = parent.RealPath / name;
    child->Fd.Reset(::openat(parent.Fd.Get(), name.c_str(), kFolderFlags));
    if (!child->Fd.IsOpen() && errno == ENOENT) {
        if (::mkdirat(parent.Fd.Get(), name.c_str(), 0777) != 0 && errno != EEXIST)
            Raise(child->Path, std::strerror(errno));
        NoteCreated(parent, name);
        child->Fd.Reset(::openat(parent.Fd.Get(), name.c_str(), kFolderFlags));
    }
    if (!child->Fd.IsOpen()) {
        const int error = errno;
        struct stat st;
        if (::fstatat(parent.Fd.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            Raise(child->Path, std::strerror(error));
        if (!S_ISLNK(st.st_mode))
            Raise(child->Path, S_ISDIR(st.st_mode) ? std::strerror(error) : "exists but is not a folder");
        // A linked folder is entered only when it stays below the root.
        std::error_code ec;
        const auto real = std::filesystem::canonical(parent.RealPath / name, ec);
        if (ec || !IsBelow(real, FRoot.RealPath))
            Raise(child->Path, "symbolic link leads outside the target folder");
        child->Fd.Reset(::open(real.c_str(), kFolderFlags));
        if (!child->Fd.IsOpen())
            Raise(child->Path, std::strerror(errno));
        child->RealPath = real;
    }
    ++FOpenFolders;
    return *parent.Children.emplace(name, std::move(child)).first->second;
}

TExtractionTarget::TFolder& TExtractionTarget::Folder(const std::vector<std::string>& components, std::size_t count) {
    if (FOpenFolders > kMaxOpenFolders) {
        FRoot.Children.clear();
        FOpenFolders = 0;
    }
    TFolder* folder = &FRoot;
    for (std::size_t i = 0; i < count && i < components.size(); ++i)
        folder = &Child(*folder, components[i]);
    return *folder;
}

} // namespace wh
