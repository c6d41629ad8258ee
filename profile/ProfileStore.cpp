#include "profile/ProfileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <list>
#include <mutex>
#include <optional>

#include "files/AtomicWrite.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/FileStamps.h"
#include "platform/Paths.h"

namespace wh {

namespace {

struct TFileSignature {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::int64_t ChangedNs = 0;

    explicit TFileSignature(const struct stat& st)
        : Device(st.st_dev), Inode(st.st_ino), Size(st.st_size), ModifiedNs(Nanoseconds(st.st_mtim)),
          ChangedNs(Nanoseconds(st.st_ctim)) {}
    bool operator==(const TFileSignature&) const = default;
    bool SameFile(const TFileSignature& other) const { return Device == other.Device && Inode == other.Inode; }
};

TFileDescriptor OpenForReading(const std::filesystem::path& path) {
    return TFileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

// The whole content of an open file, from its start; expectedSize only sizes
// the buffer, a file that grew or shrank meanwhile is read as it is now.
std::optional<std::string> ReadWhole(const TFileDescriptor& file, off_t expectedSize) {
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(expectedSize) + 1);
    std::size_t used = 0;
    while (true) {
        if (used == bytes.size())
            bytes.resize(bytes.size() + 4096);
        const ssize_t n = ::pread(file.Get(), bytes.data() + used, bytes.size() - used, static_cast<off_t>(used));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return bytes;
}

struct TCachedProfile {
    std::string Key;
    TFileSignature Signature;
    std::int64_t ReadAtNs;
    std::shared_ptr<const TProfileDocument> Document;
    TFileDescriptor File;   // kept open so that a re-check needs no open

    // Only content read well after its last write can be vouched for by stat.
    bool Trusted(const TFileSignature& now) const {
        return Signature == now && StampsVouchFor(Signature.ModifiedNs, ReadAtNs);
    }
};

// The key of the file's entry: the path as handed to the system, made
// absolute when it is not, so that a change of the current folder cannot
// mix up two files.
std::string CacheKey(const std::filesystem::path& path) {
    if (path.is_absolute())
        return path.native();
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return (ec ? path : absolute).lexically_normal().native();
}

const std::shared_ptr<const TProfileDocument>& EmptyDocument() {
    static const auto empty = std::make_shared<const TProfileDocument>();
    return empty;
}

// The file's system path and its status. The name as written is tried
// first: when it exists, letter-case resolution would keep it as it is.
struct TLocatedFile {
    std::filesystem::path Path;
    std::optional<struct stat> Status;
};

TLocatedFile Locate(const std::string& fileName) {
    TLocatedFile located;
    struct stat st;
    located.Path = AnsiToUtf8(NativePath(fileName));
    if (located.Path.empty() || ::stat(located.Path.c_str(), &st) != 0) {
        located.Path = OsPath(fileName);
        if (::stat(located.Path.c_str(), &st) != 0)
            return located;
    }
    located.Status = st;
    return located;
}

// The program runs on one thread; the lock only keeps a stray second thread
// from corrupting the list.
class TProfileCache {
public:
    std::shared_ptr<const TProfileDocument> Load(const std::string& fileName) {
        const TLocatedFile located = Locate(fileName);
        const std::string key = CacheKey(located.Path);
        std::lock_guard lock(FLock);
        if (!located.Status || !S_ISREG(located.Status->st_mode)) {
            Forget(key);
            return EmptyDocument();
        }
        const TFileSignature now(*located.Status);
        auto cached = Find(key);
        if (cached != FEntries.end() && cached->Trusted(now))
            return cached->Document;

        // The same file (changed in place, or too fresh to trust) is read
        // again through the handle already open; another one is opened.
        TFileDescriptor file;
        if (cached != FEntries.end() && cached->Signature.SameFile(now))
            file = std::move(cached->File);
        else
            file = OpenForReading(located.Path);
        const std::int64_t readAt = NowNs();
        std::optional<TFileSignature> signature;
        std::optional<std::string> bytes;
        struct stat st;
        if (file.IsOpen() && ::fstat(file.Get(), &st) == 0 && S_ISREG(st.st_mode)) {
            signature.emplace(st);
            bytes = ReadWhole(file, st.st_size);
        }
        if (!bytes) {
            Forget(key);
            return EmptyDocument();
        }
        if (cached != FEntries.end() && cached->Document->Bytes() == *bytes) {
            cached->Signature = *signature;
            cached->ReadAtNs = readAt;
            cached->File = std::move(file);
            return cached->Document;
        }
        auto document = std::make_shared<const TProfileDocument>(std::move(*bytes));
        Remember(key, *signature, readAt, document, std::move(file));
        return document;
    }

    void Saved(const std::filesystem::path& path, std::int64_t writtenAt, std::string bytes) {
        const std::string key = CacheKey(path);
        std::lock_guard lock(FLock);
        TFileDescriptor file = OpenForReading(path);
        struct stat st;
        if (!file.IsOpen() || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            Forget(key);
            return;
        }
        Remember(key, TFileSignature(st), writtenAt, std::make_shared<const TProfileDocument>(std::move(bytes)),
                 std::move(file));
    }

    std::size_t Count() {
        std::lock_guard lock(FLock);
        return FEntries.size();
    }

private:
    using TEntries = std::list<TCachedProfile>;

    // Finds the entry and makes it the most recently used.
    TEntries::iterator Find(const std::string& key) {
        for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
            if (it->Key == key) {
                FEntries.splice(FEntries.begin(), FEntries, it);
                return FEntries.begin();
            }
        return FEntries.end();
    }

    void Forget(const std::string& key) {
        const auto it = Find(key);
        if (it != FEntries.end())
            FEntries.erase(it);
    }

    void Remember(const std::string& key, const TFileSignature& signature, std::int64_t readAt,
                  std::shared_ptr<const TProfileDocument> document, TFileDescriptor file) {
        Forget(key);
        FEntries.push_front(TCachedProfile{key, signature, readAt, std::move(document), std::move(file)});
        while (FEntries.size() > ProfileCacheCapacity)
            FEntries.pop_back();
    }

    std::mutex FLock;
    TEntries FEntries;
};

TProfileCache& Cache() {
    static TProfileCache cache;
    return cache;
}

} // namespace

std::shared_ptr<const TProfileDocument> LoadProfile(const std::string& fileName) {
    return Cache().Load(fileName);
}

void SaveProfile(const std::string& fileName, std::string bytes) {
    const std::filesystem::path path = OsPath(fileName);
    const std::int64_t writtenAt = NowNs();
    if (WriteFileAtomically(path, bytes) != 0)
        throw EWriteError("Unable to write to " + NativePath(fileName));
    Cache().Saved(path, writtenAt, std::move(bytes));
}

std::size_t CachedProfileCount() { return Cache().Count(); }

} // namespace wh
