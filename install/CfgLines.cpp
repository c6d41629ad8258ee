#include "install/CfgLines.h"

#include <cstring>

#include "files/AtomicWrite.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/FileStatus.h"
#include "platform/Paths.h"
#include "platform/ReadAll.h"
#include "platform/SystemError.h"

namespace wh {

namespace {

[[noreturn]] void RaiseOpenError(const std::string& fileName, int error) {
    wh::RaiseOpenError(fileName, std::strerror(error));
}

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
    const TFileDescriptor file = OpenFile(OsPath(fileName), OpenRead);
    if (!file.IsOpen())
        RaiseOpenError(fileName, LastError());
    TFileStatus st;
    if (!HandleStatus(file.Get(), st))
        RaiseOpenError(fileName, LastError());
    if (!st.IsRegular())
        RaiseOpenError(fileName, st.IsFolder() ? EISDIR : EINVAL);
    const std::optional<std::string> bytes = ReadToEnd(file.Get(), static_cast<std::size_t>(st.Size));
    if (!bytes)
        throw EReadError("Cannot read file \"" + NativePath(fileName) + "\". " + std::strerror(LastError()));
    return SplitLines(*bytes);
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
