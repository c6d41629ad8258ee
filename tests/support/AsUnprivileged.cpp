#include "tests/support/AsUnprivileged.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace wh::test {

namespace {

constexpr uid_t kUnprivilegedUid = 65534;
constexpr gid_t kUnprivilegedGid = 65534;

// Failures travel as "file\nline\nmessage\0" records.
std::string Encode(const testing::TestPartResultArray& results) {
    std::string out;
    for (int i = 0; i < results.size(); ++i) {
        const testing::TestPartResult& r = results.GetTestPartResult(i);
        if (!r.failed())
            continue;
        out += r.file_name() ? r.file_name() : "";
        out += '\n' + std::to_string(r.line_number()) + '\n' + r.message() + '\0';
    }
    return out;
}

void ReportDecoded(const std::string& records) {
    std::size_t start = 0;
    while (start < records.size()) {
        std::size_t end = records.find('\0', start);
        if (end == std::string::npos)
            end = records.size();
        const std::string record = records.substr(start, end - start);
        const std::size_t fileEnd = record.find('\n');
        const std::size_t lineEnd = fileEnd == std::string::npos ? std::string::npos : record.find('\n', fileEnd + 1);
        if (lineEnd == std::string::npos) {
            ADD_FAILURE() << "unprivileged child: " << record;
        } else {
            const std::string file = record.substr(0, fileEnd);
            const int line = std::atoi(record.substr(fileEnd + 1, lineEnd - fileEnd - 1).c_str());
            ADD_FAILURE_AT(file.c_str(), line) << "(unprivileged child) " << record.substr(lineEnd + 1);
        }
        start = end + 1;
    }
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[4096];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

[[noreturn]] void RunChild(int out, const std::function<void()>& body) {
    testing::TestPartResultArray results;
    {
        // Both: a caller's own per-thread interception would otherwise take them.
        testing::ScopedFakeTestPartResultReporter interceptOthers(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
        testing::ScopedFakeTestPartResultReporter interceptThis(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        bool dropped = true;
        if (::geteuid() == 0) {
            // Groups first: after setuid the process may no longer change them.
            dropped = ::setgroups(0, nullptr) == 0 && ::setgid(kUnprivilegedGid) == 0 &&
                      ::setuid(kUnprivilegedUid) == 0 && ::geteuid() != 0;
            if (!dropped)
                ADD_FAILURE() << "cannot drop to uid " << kUnprivilegedUid << ": " << std::strerror(errno);
        }
        if (dropped) {
            try {
                body();
            } catch (const std::exception& e) {
                ADD_FAILURE() << "exception escaped: " << e.what();
            } catch (...) {
                ADD_FAILURE() << "exception escaped";
            }
        }
    }
    const std::string records = Encode(results);
    const bool sent = WriteAll(out, records);
    // No exit handlers: they belong to the parent's test run.
    ::_exit(!sent ? 2 : records.empty() ? 0 : 1);
}

} // namespace

void AsUnprivileged(const std::function<void()>& body) {
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0) << std::strerror(errno);
    // Buffered output would otherwise be written twice.
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        RunChild(channel[1], body);
    }
    ::close(channel[1]);
    if (child < 0) {
        ::close(channel[0]);
        FAIL() << "fork: " << std::strerror(errno);
    }
    const std::string records = ReadAll(channel[0]);
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    ReportDecoded(records);
    if (WIFSIGNALED(status))
        ADD_FAILURE() << "unprivileged child died of signal " << WTERMSIG(status) << " (" << strsignal(WTERMSIG(status))
                      << ")";
    else if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && records.empty()))
        ADD_FAILURE() << "unprivileged child ended with status " << status << " and no failure reported";
}

void HandToUnprivileged(const std::filesystem::path& path) {
    if (::geteuid() != 0)
        return;
    const auto give = [](const std::filesystem::path& p) {
        if (::lchown(p.c_str(), kUnprivilegedUid, kUnprivilegedGid) != 0)
            ADD_FAILURE() << "cannot hand " << p << " over: " << std::strerror(errno);
    };
    give(path);
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, ec)))
        return;
    for (auto it = std::filesystem::recursive_directory_iterator(path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        give(it->path());
}

TSearchableAncestors::TSearchableAncestors(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    if (::geteuid() != 0)
        return;
    for (fs::path folder = fs::absolute(path).parent_path(); folder != folder.parent_path();
         folder = folder.parent_path()) {
        if ((fs::status(folder).permissions() & fs::perms::others_exec) == fs::perms::none) {
            fs::permissions(folder, fs::perms::others_exec, fs::perm_options::add);
            FChanged.push_back(folder);
        }
    }
}

TSearchableAncestors::~TSearchableAncestors() {
    std::error_code ec;
    for (const std::filesystem::path& folder : FChanged)
        std::filesystem::permissions(folder, std::filesystem::perms::others_exec, std::filesystem::perm_options::remove,
                                     ec);
}

} // namespace wh::test
