#include "cli/StatusLines.h"

#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

constexpr const char* EraseLine = "\r\x1b[K";

void WriteError(const std::string& utf8) {
    std::fputs(utf8.c_str(), stderr);
    std::fflush(stderr);
}

// At most columns - 1 characters, so that the line never wraps and "\r"
// returns to its start.
std::string FitColumns(const std::string& utf8, int columns) {
    if (columns <= 1)
        return utf8;
    int characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
            continue;
        if (++characters == columns)
            return utf8.substr(0, i);
    }
    return utf8;
}

} // namespace

std::string PrintableText(const std::string& ansi) {
    std::string text = ansi;
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = ' ';
        else if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
            c = '?';
    }
    return AnsiToUtf8(text);
}

void TStatusLines::OpenLog(const std::string& path) {
    FLog.reset(std::fopen(OsPath(path).c_str(), "wb"));
    if (!FLog)
        throw EFOpenError("Cannot create file \"" + NativePath(path) + "\"");
    FLogPath = path;
}

void TStatusLines::Line(const std::string& text) {
    const std::string line = PrintableText(text) + "\n";
    WriteError(FProgress.empty() ? line : EraseLine + line);
    DrawProgress();
    if (!FLog)
        return;
    if (std::fputs(line.c_str(), FLog.get()) < 0 || std::fflush(FLog.get()) != 0)
        throw EWriteError("Error writing \"" + NativePath(FLogPath) + "\"");
}

void TStatusLines::Progress(const std::string& text) {
    if (!FTerminal) {
        WriteError(PrintableText(text) + "\n");
        return;
    }
    FProgress = FitColumns(PrintableText(text), FColumns);
    DrawProgress();
}

void TStatusLines::EndProgress() {
    if (FProgress.empty())
        return;
    FProgress.clear();
    WriteError("\n");
}

void TStatusLines::DrawProgress() {
    if (!FProgress.empty())
        WriteError(EraseLine + FProgress);
}

} // namespace wh
