#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "platform/Codepage.h"
#include "platform/DirectoryListings.h"

#ifndef WH_COMMON_APPDATA_DIR
#define WH_COMMON_APPDATA_DIR "/var/lib"
#endif

namespace wh {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsPathDelimiter(char c) { return IsSeparator(c) || c == ':'; }

// Native separators, runs of them folded into one.
// In place on a copy: a load asks it for every row's paths.
std::string FoldSeparators(const std::string& path) {
    std::string out = path;
    std::size_t length = 0;
    for (char c : path) {
        if (IsSeparator(c)) {
            if (length > 0 && out[length - 1] == PathDelim)
                continue;
            c = PathDelim;
        }
        out[length++] = c;
    }
    out.resize(length);
    return out;
}

bool EntryExists(const std::string& nativeUtf8) {
    struct stat st;
    return ::lstat(nativeUtf8.c_str(), &st) == 0;
}

// The status of an entry that exists, following symbolic links; a link that
// leads nowhere still counts as existing, without a status.
bool FolderStatus(const std::string& nativeUtf8, struct stat& st, bool& known) {
    known = ::stat(nativeUtf8.c_str(), &st) == 0;
    return known || EntryExists(nativeUtf8);
}

// The letter-case resolution of a path known not to exist as written.
// absent tells that some component matched nothing, so that nothing exists
// at the result.
std::string Resolve(const std::string& native, const std::string& asWritten, bool& absent) {
    absent = false;
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
        return asWritten;

    // Usually only the last component or two miss: walk back to the deepest
    // folder that exists as written. Everything above it exists as written
    // too, which is what a walk from the root would keep. Its status comes
    // along, so that a trusted listing of it needs no further call.
    struct stat folder;
    bool folderKnown = false;
    std::size_t first = components.size() - 1;
    while (first > 0 && !FolderStatus(AnsiToUtf8(native.substr(0, components[first - 1].End)), folder, folderKnown))
        --first;

    // From there on, only components that miss cost a lookup in a listing.
    TDirectoryListings& listings = TDirectoryListings::Shared();
    std::string resolved = AnsiToUtf8(native.substr(0, components[first].Begin));
    bool matching = true;
    for (std::size_t i = first; i < components.size(); ++i) {
        const auto [begin, end] = components[i];
        const std::string component = native.substr(begin, end - begin);
        std::string next = resolved + AnsiToUtf8(component);
        const bool last = i + 1 == components.size();
        struct stat nextStatus {};
        bool nextKnown = false;
        if (matching && component != "." && component != "..") {
            // The whole path as written is known to miss.
            const bool exists =
                next != asWritten && (last ? EntryExists(next) : FolderStatus(next, nextStatus, nextKnown));
            if (!exists) {
                const std::string entry = listings.Find(resolved, component, folderKnown ? &folder : nullptr);
                if (entry.empty())
                    matching = false; // nothing below a missing folder can exist
                else
                    next = resolved + entry;
            }
        }
        folder = nextStatus;
        folderKnown = nextKnown;
        resolved = std::move(next);
        if (end < native.size())
            resolved += PathDelim;
    }
    absent = !matching;
    return resolved;
}

std::string& CommonAppDataOverride() {
    static std::string folder;
    return folder;
}

} // namespace

std::string NativePath(const std::string& path) { return FoldSeparators(path); }

namespace {

// A path whose folder has a trusted listing is answered from it: one stat
// of the folder, none of the entry, even when the entry is missing, which is
// the common case of a lookup in a folder asked about again and again.
TDirectoryListings::TAnswer LookupInListing(const std::string& native, std::string& resolved) {
    const std::size_t separator = native.rfind(PathDelim);
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const std::string name = native.substr(nameStart);
    if (name.empty() || name == "." || name == "..")
        return TDirectoryListings::TAnswer::Unknown;
    const std::string folder = AnsiToUtf8(native.substr(0, nameStart));
    std::string entry;
    const auto answer = TDirectoryListings::Shared().Lookup(folder, name, entry);
    if (answer == TDirectoryListings::TAnswer::Found)
        resolved = folder + entry;
    return answer;
}

} // namespace

std::filesystem::path OsPath(const std::string& path) {
    const std::string native = FoldSeparators(path);
    std::string asWritten = AnsiToUtf8(native);
    if (asWritten.empty())
        return std::filesystem::path(std::move(asWritten));
    std::string resolved;
    switch (LookupInListing(native, resolved)) {
    case TDirectoryListings::TAnswer::Found:
        return std::filesystem::path(std::move(resolved));
    case TDirectoryListings::TAnswer::Absent:
        return std::filesystem::path(std::move(asWritten));
    case TDirectoryListings::TAnswer::Unknown:
        break;
    }
    if (EntryExists(asWritten))
        return std::filesystem::path(std::move(asWritten));
    bool absent;
    return std::filesystem::path(Resolve(native, asWritten, absent));
}

bool OsStatus(const std::string& path, TFileStatus& status) {
    const std::string native = FoldSeparators(path);
    const std::string asWritten = AnsiToUtf8(native);
    if (asWritten.empty())
        return false;
    std::string resolved;
    switch (LookupInListing(native, resolved)) {
    case TDirectoryListings::TAnswer::Found:
        return PathStatus(resolved, status);
    case TDirectoryListings::TAnswer::Absent:
        return false;
    case TDirectoryListings::TAnswer::Unknown:
        break;
    }
    // Found as written is what the resolution would keep.
    if (PathStatus(asWritten, status))
        return true;
    bool absent;
    resolved = Resolve(native, asWritten, absent);
    return !absent && PathStatus(resolved, status);
}

std::string ExtractFilePath(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsPathDelimiter(path[i - 1]))
            return path.substr(0, i);
    return {};
}

std::string ExtractFileName(const std::string& path) { return path.substr(ExtractFilePath(path).size()); }

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
    TFileStatus st;
    return OsStatus(path, st) && st.IsRegular();
}

bool DirectoryExists(const std::string& path) {
    TFileStatus st;
    return OsStatus(path, st) && st.IsFolder();
}

std::int32_t FileSizeOf(const std::string& path) {
    TFileStatus st;
    if (!PathStatus(OsPath(path), st))
        return -1;
    if (st.IsFolder())
        return 0; // a directory's own entry carries no size
    // Larger files are held at the top instead of wrapping into -1 ("missing")
    // or another small number.
    if (st.Size > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(st.Size);
}

std::string AppendSeparator(const std::string& text, char separator) {
    std::string result = Trim(text);
    if (!result.empty() && result.back() != separator)
        result += separator;
    return result;
}

std::string CommonAppDataFolder() {
    const std::string& folder = CommonAppDataOverride();
    return folder.empty() ? std::string(WH_COMMON_APPDATA_DIR) : folder;
}

void OverrideCommonAppDataFolder(const std::string& folder) { CommonAppDataOverride() = folder; }

} // namespace wh
