#include "platform/DirectoryListings.h"

#include <dirent.h>

#include <algorithm>
#include <ctime>
#include <memory>

#include "platform/Codepage.h"
#include "platform/FileStamps.h"
#include "platform/NameCase.h"

namespace wh {

namespace {

constexpr std::size_t kSharedCapacity = 512;
// Larger folders are scanned every time rather than held in memory.
constexpr std::size_t kMaxCachedNames = 20000;

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

TDirectoryListings::TDirectoryListings(std::size_t capacity) : FCapacity(capacity) {}

TDirectoryListings& TDirectoryListings::Shared() {
    static TDirectoryListings listings(kSharedCapacity);
    return listings;
}

std::string TDirectoryListings::TListing::Find(const std::string& folded, const std::string& asWritten) const {
    const auto found = Names.find(folded);
    if (found == Names.end())
        return {};
    const auto& names = found->second;
    return std::binary_search(names.begin(), names.end(), asWritten) ? asWritten : names.front();
}

bool TDirectoryListings::TListing::Trusted(const TSignature& now) const {
    return Signature == now && StampsVouchFor(Signature.ModifiedNs, ReadAtNs);
}

TDirectoryListings::TSignature TDirectoryListings::SignatureOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
}

bool TDirectoryListings::ReadListing(const std::string& dirUtf8, TListing& listing) {
    std::unique_ptr<DIR, TDirCloser> dir(::opendir(dirUtf8.empty() ? "." : dirUtf8.c_str()));
    if (!dir)
        return false;
    // The time before the status, the status before the names: a change
    // that slips in between leaves a signature older than the names, which
    // the next look at the folder sees as a change.
    listing.ReadAtNs = NowNs();
    struct stat st;
    if (::fstat(::dirfd(dir.get()), &st) != 0)
        return false;
    listing.Signature = SignatureOf(st);
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        auto& names = listing.Names[FoldNameCase(name)];
        names.insert(std::lower_bound(names.begin(), names.end(), name), name);
    }
    return true;
}

void TDirectoryListings::Forget(std::map<TKey, TOrder::iterator>::iterator found) {
    const auto path = FPaths.find(found->second->second.Path);
    if (path != FPaths.end() && path->second == found->first)
        FPaths.erase(path);
    FOrder.erase(found->second);
    FIndex.erase(found);
}

void TDirectoryListings::Remember(const TKey& key, TListing listing) {
    if (const auto found = FIndex.find(key); found != FIndex.end())
        Forget(found);
    if (listing.Names.size() > kMaxCachedNames || FCapacity == 0)
        return;
    FPaths[listing.Path] = key;
    FOrder.emplace_front(key, std::move(listing));
    FIndex[key] = FOrder.begin();
    while (FOrder.size() > FCapacity)
        Forget(FIndex.find(FOrder.back().first));
}

TDirectoryListings::TAnswer TDirectoryListings::Lookup(const std::string& dirUtf8, const std::string& nameAnsi,
                                                       std::string& entry) {
    {
        const std::lock_guard<std::mutex> guard(FLock);
        if (FPaths.find(dirUtf8) == FPaths.end())
            return TAnswer::Unknown;
    }
    struct stat st;
    if (::stat(dirUtf8.empty() ? "." : dirUtf8.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return TAnswer::Unknown;
    const TSignature now = SignatureOf(st);

    const std::lock_guard<std::mutex> guard(FLock);
    const auto found = FIndex.find(TKey{now.Device, now.Inode});
    if (found == FIndex.end() || !found->second->second.Trusted(now)) {
        // Not worth the folder's stat again until the folder is read anew.
        FPaths.erase(dirUtf8);
        return TAnswer::Unknown;
    }
    FOrder.splice(FOrder.begin(), FOrder, found->second);
    const std::string asWritten = AnsiToUtf8(nameAnsi);
    entry = found->second->second.Find(FoldNameCase(asWritten), asWritten);
    return entry.empty() ? TAnswer::Absent : TAnswer::Found;
}

std::string TDirectoryListings::Find(const std::string& dirUtf8, const std::string& nameAnsi,
                                     const struct stat* dirStatus) {
    struct stat own;
    if (!dirStatus) {
        if (::stat(dirUtf8.empty() ? "." : dirUtf8.c_str(), &own) != 0)
            return {};
        dirStatus = &own;
    }
    if (!S_ISDIR(dirStatus->st_mode))
        return {};
    const std::string asWritten = AnsiToUtf8(nameAnsi);
    const std::string wanted = FoldNameCase(asWritten);
    const TSignature now = SignatureOf(*dirStatus);
    const TKey key{now.Device, now.Inode};

    const std::lock_guard<std::mutex> guard(FLock);
    if (const auto found = FIndex.find(key); found != FIndex.end() && found->second->second.Trusted(now)) {
        FOrder.splice(FOrder.begin(), FOrder, found->second);
        return found->second->second.Find(wanted, asWritten);
    }

    ++FReads;
    TListing listing;
    if (!ReadListing(dirUtf8, listing)) {
        if (const auto found = FIndex.find(key); found != FIndex.end())
            Forget(found);
        return {};
    }
    listing.Path = dirUtf8;
    std::string result = listing.Find(wanted, asWritten);
    // Kept under the key of the folder actually read, which is the one
    // asked about unless it was replaced meanwhile.
    const TKey readKey{listing.Signature.Device, listing.Signature.Inode};
    Remember(readKey, std::move(listing));
    return result;
}

std::uint64_t TDirectoryListings::Reads() const {
    const std::lock_guard<std::mutex> guard(FLock);
    return FReads;
}

std::size_t TDirectoryListings::Size() const {
    const std::lock_guard<std::mutex> guard(FLock);
    return FOrder.size();
}

} // namespace wh
