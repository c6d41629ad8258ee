#pragma once

#include <filesystem>
#include <functional>
#include <vector>

namespace wh::test {

// Runs body in a forked child. When the tests run as root, the child first
// drops to the unprivileged user (uid/gid 65534, "nobody"), so that file
// modes hold it back as they hold back a user; otherwise it keeps the
// caller's identity. Every failure in the child (EXPECT_*, ASSERT_*, an
// escaping exception, a crash) becomes a failure of the calling test, at
// the child's file and line. Returns when the child has ended.
//
// The child creates what it needs itself (a TTempDir made inside body
// belongs to it); a folder the parent made must first be passed to
// HandToUnprivileged.
void AsUnprivileged(const std::function<void()>& body);

// Gives path and everything below it to the user AsUnprivileged runs as.
// Does nothing unless the tests run as root.
void HandToUnprivileged(const std::filesystem::path& path);

// Lets every user pass through the folders above path while alive (a
// checkout inside a private folder would hide the build from the user
// AsUnprivileged runs as); the folders get their modes back at the end.
class TSearchableAncestors {
public:
    explicit TSearchableAncestors(const std::filesystem::path& path);
    ~TSearchableAncestors();
    TSearchableAncestors(const TSearchableAncestors&) = delete;
    TSearchableAncestors& operator=(const TSearchableAncestors&) = delete;

private:
    std::vector<std::filesystem::path> FChanged;
};

} // namespace wh::test
