#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace wh {

// Letter-case lookups in folders, answered from listings kept per folder so
// that a folder asked about again costs one stat instead of a directory scan.
// A listing is trusted only while the folder's status is the one seen when
// it was read, and only once the folder's last change lies a clock tick
// before that read: any entry created, renamed or removed since then has
// given the folder a newer time stamp.
class TDirectoryListings {
public:
    explicit TDirectoryListings(std::size_t capacity);
    TDirectoryListings(const TDirectoryListings&) = delete;
    TDirectoryListings& operator=(const TDirectoryListings&) = delete;

    // The entry of the folder dirUtf8 ("" for the current folder) whose name
    // equals nameAnsi (Windows-1252) without regard to letter case: the name
    // as written when the folder holds it, else the lowest of the matches. Empty when there is none or the
    // folder cannot be read. dirStatus, when given, is the folder's stat()
    // taken just now by the caller, which spares taking it again.
    std::string Find(const std::string& dirUtf8, const std::string& nameAnsi, const struct stat* dirStatus = nullptr);

    enum class TAnswer { Unknown, Absent, Found };
    // Answers from a listing alone, for a folder listed before under this
    // very path: one stat of the folder, and no scan. Found sets entry as
    // Find would; Unknown when the folder has no trusted listing (then
    // nothing is read, and no stat is taken for a folder never listed).
    TAnswer Lookup(const std::string& dirUtf8, const std::string& nameAnsi, std::string& entry);

    // How many times a folder was read from the file system.
    std::uint64_t Reads() const;
    std::size_t Size() const;

    // The one that OsPath uses.
    static TDirectoryListings& Shared();

private:
    struct TSignature {
        dev_t Device = 0;
        ino_t Inode = 0;
        std::int64_t ModifiedNs = 0;
        std::int64_t ChangedNs = 0;
        bool operator==(const TSignature&) const = default;
    };
    struct TListing {
        std::string Path; // the folder's path at its last read
        TSignature Signature;
        std::int64_t ReadAtNs = 0;
        // Folded name (FoldNameCase) -> the native names that fold to it, sorted.
        std::unordered_map<std::string, std::vector<std::string>> Names;
        std::string Find(const std::string& folded, const std::string& asWritten) const;
        bool Trusted(const TSignature& now) const;
    };
    using TKey = std::pair<dev_t, ino_t>;
    using TOrder = std::list<std::pair<TKey, TListing>>; // most recently used first

    static TSignature SignatureOf(const struct stat& st);
    static bool ReadListing(const std::string& dirUtf8, TListing& listing);
    void Remember(const TKey& key, TListing listing);
    void Forget(std::map<TKey, TOrder::iterator>::iterator found);

    const std::size_t FCapacity;
    mutable std::mutex FLock;
    TOrder FOrder;
    std::map<TKey, TOrder::iterator> FIndex;
    std::unordered_map<std::string, TKey> FPaths;
    std::uint64_t FReads = 0;
};

} // namespace wh
