#include "files/ProfileStore.h"

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
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// A file whose last write lies this close to the moment it was read may be
// written again within the same file-system clock tick, unseen by stat.
constexpr std::int64_t kRacyWindowNs = 100'000'000;

std::int64_t Nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

std::int64_t NowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);   // the clock file times are taken from
    return Nanoseconds(now);
}

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
};

struct TCachedProfile {
    std::string Key;
    TFileSignature Signature;
    std::int64_t ReadAtNs;
    std::shared_ptr<const TProfileDocument> Document;

    // Only content read well after its last write can be vouched for by stat.
    bool Trusted(const TFileSignature& now) const {
        return Signature == now && Signature.ModifiedNs + kRacyWindowNs <= ReadAtNs;
    }
};

struct TFileHandle {
    int Value;
    explicit TFileHandle(int value) : Value(value) {}
    ~TFileHandle() {
        if (Value >= 0)
            ::close(Value);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
};

// The bytes of a regular file and the signature of what was read.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& path, std::optional<TFileSignature>& signature) {
    TFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (file.Value < 0 || ::fstat(file.Value, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    signature.emplace(st);
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t used = 0;
    while (true) {
        if (used == bytes.size())
            bytes.resize(bytes.size() + 4096);   // the file grew since fstat
        const ssize_t n = ::read(file.Value, bytes.data() + used, bytes.size() - used);
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

std::string CacheKey(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return (ec ? path : absolute).lexically_normal().string();
}

const std::shared_ptr<const TProfileDocument>& EmptyDocument() {
    static const auto empty = std::make_shared<const TProfileDocument>();
    return empty;
}

// The program runs on one thread; the lock only keeps a stray second thread
// from corrupting the list.
class TProfileCache {
public:
    std::shared_ptr<const TProfileDocument> Load(const std::filesystem::path& path) {
        const std::string key = CacheKey(path);
        std::lock_guard lock(FLock);
        struct stat st;
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            Forget(key);
            return EmptyDocument();
        }
        auto cached = Find(key);
        if (cached != FEntries.end() && cached->Trusted(TFileSignature(st)))
            return cached->Document;

        const std::int64_t readAt = NowNs();
        std::optional<TFileSignature> signature;
        std::optional<std::string> bytes = ReadRegularFile(path, signature);
        if (!bytes) {
            Forget(key);
            return EmptyDocument();
        }
        if (cached != FEntries.end() && cached->Document->Bytes() == *bytes) {
            cached->Signature = *signature;
            cached->ReadAtNs = readAt;
            return cached->Document;
        }
        auto document = std::make_shared<const TProfileDocument>(std::move(*bytes));
        Remember(key, *signature, readAt, document);
        return document;
    }

    void Saved(const std::filesystem::path& path, std::int64_t writtenAt, std::string bytes) {
        const std::string key = CacheKey(path);
        std::lock_guard lock(FLock);
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) {
            Forget(key);
            return;
        }
        Remember(key, TFileSignature(st), writtenAt, std::make_shared<const TProfileDocument>(std::move(bytes)));
    }

    std::size_t Count() {
        std::lock_guard lock(FLock);
        return FEntries.size();
    }

    void Clear() {
        std::lock_guard lock(FLock);
        FEntries.clear();
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
                  std::shared_ptr<const TProfileDocument> document) {
        Forget(key);
        FEntries.push_front(TCachedProfile{key, signature, readAt, std::move(document)});
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
    return Cache().Load(OsPath(fileName));
}

void SaveProfile(const std::string& fileName, std::string bytes) {
    const std::filesystem::path path = OsPath(fileName);
    const std::int64_t writtenAt = NowNs();
    if (WriteFileAtomically(path, bytes) != 0)
        throw EWriteError("Unable to write to " + NativePath(fileName));
    Cache().Saved(path, writtenAt, std::move(bytes));
}

std::size_t CachedProfileCount() { return Cache().Count(); }

void ClearProfileCache() { Cache().Clear(); }

} // namespace wh
