#include "files/WHUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "files/ReplacementFile.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/Paths.h"
#include "platform/UserFolders.h"
#include "platform/WriteAll.h"

namespace wh {

namespace {

constexpr std::size_t kCopyBufferSize = 8192;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string Quoted(const char* format, const std::string& path) {
    const std::string native = NativePath(path);
    const int size = std::snprintf(nullptr, 0, format, native.c_str());
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, native.c_str());
    text.resize(static_cast<std::size_t>(size));
    return text;
}

// Reads up to size bytes; fewer only at the end of the file. -1 on failure.
ssize_t ReadBlock(int fd, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Works on native names as the directory returns them, so names that have
// no Windows-1252 spelling are removed too.
void DeleteContents(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    {
        std::unique_ptr<DIR, TDirCloser> handle(::opendir(dir.c_str()));
        if (!handle)
            return;
        while (const dirent* entry = ::readdir(handle.get())) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
    }
    for (const std::string& name : names) {
        const std::filesystem::path entry = dir / name;
        struct stat st;
        if (::lstat(entry.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            DeleteContents(entry);
            ::rmdir(entry.c_str());
        } else if (S_ISLNK(st.st_mode) || (st.st_mode & S_IWUSR)) {
            // A file without its owner's write permission counts as read-only
            // and stays, as a read-only file does on Windows; Linux itself
            // would let the folder's owner remove it.
            ::unlink(entry.c_str());
        }
    }
}

// "C:" and the like: a drive, which cannot be created.
bool IsDriveName(const std::string& path) { return path.size() == 2 && path[1] == ':'; }

// Creates what is missing of the path, from the deepest existing folder
// down; a folder that exists costs one stat and ends the walk up. True when
// the path is a directory at the end.
bool EnsureDirectoryPath(const std::string& path) {
    std::string p = path;
    if (!p.empty() && IsSeparator(p.back()))
        p.pop_back();
    if (p.empty() || IsDriveName(p))
        return true;
    struct stat st;
    if (OsStatus(p, st))
        return S_ISDIR(st.st_mode);
    const std::string parent = ExtractFilePath(p);
    if (parent == p)
        return false;
    if (!parent.empty())
        EnsureDirectoryPath(parent);
    if (::mkdir(OsPath(p).c_str(), 0777) == 0)
        return true;
    // Made meanwhile by someone else, perhaps.
    return errno == EEXIST && DirectoryExists(p);
}

} // namespace

std::string WorkingDir() {
    std::string dir = CommonAppDataDir() + "\\Wingharbour";
    if (!EnsureDirectoryPath(dir) || !FolderWritable(dir)) {
        // No right to the machine-wide folder: the user's own data folder
        // takes its place, never the folder of an installed program. A
        // failure to make it shows when a file in it cannot be created.
        const std::string userDir = UserFolder(TUserFolder::Data);
        if (userDir.empty())
            return ExtractFilePath(ExecutablePath());
        dir = userDir + "Wingharbour";
        EnsureDirectoryPath(dir);
    }
    return NativePath(dir) + PathDelim;
}

std::string AppendSeparator(const std::string& text, char separator) {
    std::string result = Trim(text);
    if (!result.empty() && result.back() != separator)
        result += separator;
    return result;
}

void FileCopy(const std::string& source, const std::string& destination) {
    std::vector<char> buffer(kCopyBufferSize);

    TFileDescriptor in(::open(OsPath(source).c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.IsOpen())
        throw EFOpenError(Quoted("Could not open \"%s\".", source));

    TFileDescriptor out(::open(OsPath(destination).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!out.IsOpen())
        throw EFOpenError(Quoted("Could not open \"%s\".", destination));

    ssize_t n;
    do {
        n = ReadBlock(in.Get(), buffer.data(), buffer.size());
        if (n < 0)
            throw EReadError(Quoted("Error reading from \"%s\"", source));
        if (n > 0 && WriteAll(out.Get(), buffer.data(), static_cast<std::size_t>(n)) != 0)
            throw EWriteError(Quoted("Error writing \"%s\"", destination));
    } while (static_cast<std::size_t>(n) >= kCopyBufferSize);

    // A file system may report a failed write only when the file is closed.
    if (out.Close() != 0)
        throw EWriteError(Quoted("Error writing \"%s\"", destination));
}

void FileCopy(const std::string& source, TReplacementFile& destination) {
    std::vector<char> buffer(kCopyBufferSize);

    TFileDescriptor in(::open(OsPath(source).c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.IsOpen())
        throw EFOpenError(Quoted("Could not open \"%s\".", source));

    ssize_t n;
    try {
        do {
            n = ReadBlock(in.Get(), buffer.data(), buffer.size());
            if (n < 0)
                throw EReadError(Quoted("Error reading from \"%s\"", source));
            destination.Write(buffer.data(), static_cast<std::size_t>(n));
        } while (static_cast<std::size_t>(n) >= kCopyBufferSize);
        destination.Flush();
    } catch (const EInOutError&) {
        // The copy's own message, naming the file the replacement is for.
        throw EWriteError("Error writing \"" + destination.ShownName() + "\"");
    }
}

std::int32_t FileSizeOf(const std::string& path) {
    struct stat st;
    if (::stat(OsPath(path).c_str(), &st) != 0)
        return -1;
    if (S_ISDIR(st.st_mode))
        return 0;   // a directory's own entry carries no size
    // Larger files are held at the top instead of wrapping into -1 ("missing")
    // or another small number.
    if (st.st_size > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(st.st_size);
}

void DeleteDirectoryContents(const std::string& dir) { DeleteContents(OsPath(dir)); }

std::string SpecialFolderPath(int folderId) {
    std::string folder;
    if ((folderId & ~CSIDL_FLAG_CREATE) == CSIDL_COMMON_APPDATA)
        folder = CommonAppDataFolder();
    if (folder.empty())
        return ExtractFilePath(ExecutablePath());
    if ((folderId & CSIDL_FLAG_CREATE) != 0 && !DirectoryExists(folder))
        CreateDirectoryPath(folder);
    if (folder.size() > 1 && IsSeparator(folder.back()))
        folder.pop_back();
    return folder;
}

std::string CommonAppDataDir() { return SpecialFolderPath(CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE); }

void CreateDirectoryPath(const std::string& path) {
    if (path.empty())
        throw EInOutError("Unable to create directory: the path is empty");
    // A failure shows later, when a file in the folder cannot be created.
    EnsureDirectoryPath(path);
}

} // namespace wh
