#include "install/CfgLines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/AtomicWrite.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

[[noreturn]] void RaiseOpenError(const std::string& fileName, int error) {
    wh::RaiseOpenError(fileName, std::strerror(error));
}

class TReadHandle {
public:
    explicit TReadHandle(const std::string& fileName) : FHandle(::open(OsPath(fileName).c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~TReadHandle() {
        if (FHandle >= 0)
            ::close(FHandle);
    }
    TReadHandle(const TReadHandle&) = delete;
    TReadHandle& operator=(const TReadHandle&) = delete;
    int Get() const { return FHandle; }

private:
    int FHandle;
};

} // namespace

TCfgLines SplitLines(std::string_view text) {
    TCfgLines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string JoinLines(const TCfgLines& lines) {
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

TCfgLines LoadLines(const std::string& fileName) {
    const TReadHandle file(fileName);
    if (file.Get() < 0)
        RaiseOpenError(fileName, errno);
    struct stat st;
    if (::fstat(file.Get(), &st) != 0)
        RaiseOpenError(fileName, errno);
    if (!S_ISREG(st.st_mode))
        RaiseOpenError(fileName, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EReadError("Cannot read file \"" + NativePath(fileName) + "\". " + std::strerror(errno));
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return SplitLines(bytes);
}

void SaveLines(const std::string& fileName, const TCfgLines& lines) {
    // A new inode takes the name, so the profile store's cache sees the change.
    if (WriteFileAtomically(OsPath(fileName), JoinLines(lines)) != 0)
        throw EWriteError("Unable to write to " + NativePath(fileName));
}

bool IsSectionHeader(std::string_view line) {
    const std::string trimmed = Trim(line);
    return !trimmed.empty() && trimmed.front() == '[';
}

bool IsHeaderOf(std::string_view line, std::string_view section) {
    return AnsiLowerCase(Trim(line)) == AnsiLowerCase("[" + std::string(section) + "]");
}

std::string HeaderName(std::string_view line) {
    const std::string trimmed = Trim(line);
    return trimmed.size() < 2 ? std::string() : trimmed.substr(1, trimmed.size() - 2);
}

} // namespace wh
