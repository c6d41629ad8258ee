#include "platform/Paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/Codepage.h"

#ifndef WH_COMMON_APPDATA_DIR
#define WH_COMMON_APPDATA_DIR "/var/lib"
#endif

namespace wh {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsPathDelimiter(char c) { return IsSeparator(c) || c == ':'; }

// Native separators, runs of them folded into one.
std::string FoldSeparators(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (IsSeparator(c)) {
            if (!out.empty() && out.back() == PathDelim)
                continue;
            out += PathDelim;
        } else {
            out += c;
        }
    }
    return out;
}

bool EntryExists(const std::string& nativeUtf8) {
    struct stat st;
    return ::lstat(nativeUtf8.c_str(), &st) == 0;
}

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// The entry of dir whose name equals name (Windows-1252) without regard to
// letter case; empty when there is none. Of several such entries the lowest
// name wins, so the choice does not depend on the order of the directory.
std::string FindEntryIgnoringCase(const std::string& dirUtf8, const std::string& nameAnsi) {
    std::unique_ptr<DIR, TDirCloser> dir(::opendir(dirUtf8.empty() ? "." : dirUtf8.c_str()));
    if (!dir)
        return {};
    const std::string wanted = AnsiLowerCase(nameAnsi);
    std::string found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (AnsiLowerCase(Utf8ToAnsi(name)) == wanted && (found.empty() || name < found))
            found = name;
    }
    return found;
}

std::string& CommonAppDataOverride() {
    static std::string folder;
    return folder;
}

} // namespace

std::string NativePath(const std::string& path) { return FoldSeparators(path); }

std::filesystem::path OsPath(const std::string& path) {
    const std::string native = FoldSeparators(path);
    const std::string asWritten = AnsiToUtf8(native);
    if (asWritten.empty() || EntryExists(asWritten))
        return std::filesystem::path(asWritten);

    // Where each component starts and ends in native.
    struct TComponent {
        std::size_t Begin, End;
    };
    std::vector<TComponent> components;
    std::size_t pos = native.front() == PathDelim ? 1 : 0;
    while (pos < native.size()) {
        const std::size_t end = std::min(native.find(PathDelim, pos), native.size());
        components.push_back({pos, end});
        pos = end + 1;
    }
    if (components.empty())
        return std::filesystem::path(asWritten);

    // Usually only the last component or two miss: walk back to the deepest
    // folder that exists as written. Everything above it exists as written
    // too, which is what a walk from the root would keep.
    std::size_t first = components.size() - 1;
    while (first > 0 && !EntryExists(AnsiToUtf8(native.substr(0, components[first - 1].End))))
        --first;

    // From there on, only components that miss cost a directory scan.
    std::string resolved = AnsiToUtf8(native.substr(0, components[first].Begin));
    bool matching = true;
    for (std::size_t i = first; i < components.size(); ++i) {
        const auto [begin, end] = components[i];
        const std::string component = native.substr(begin, end - begin);
        std::string next = resolved + AnsiToUtf8(component);
        // The whole path as written is known to miss.
        if (matching && component != "." && component != ".." && (next == asWritten || !EntryExists(next))) {
            const std::string entry = FindEntryIgnoringCase(resolved, component);
            if (entry.empty())
                matching = false;   // nothing below a missing folder can exist
            else
                next = resolved + entry;
        }
        resolved = std::move(next);
        if (end < native.size())
            resolved += PathDelim;
    }
    return std::filesystem::path(resolved);
}

std::string ExtractFilePath(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsPathDelimiter(path[i - 1]))
            return path.substr(0, i);
    return {};
}

std::string ExtractFileName(const std::string& path) {
    return path.substr(ExtractFilePath(path).size());
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    const std::size_t nameStart = ExtractFilePath(path).size();
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return path + ext;
    return path.substr(0, dot) + ext;
}

std::string ExecutablePath() {
    std::vector<char> buffer(4096);
    while (true) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return Utf8ToAnsi(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        buffer.resize(buffer.size() * 2);
    }
}

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(OsPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return ::stat(OsPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CommonAppDataFolder() {
    const std::string& folder = CommonAppDataOverride();
    return folder.empty() ? std::string(WH_COMMON_APPDATA_DIR) : folder;
}

void OverrideCommonAppDataFolder(const std::string& folder) { CommonAppDataOverride() = folder; }

} // namespace wh
