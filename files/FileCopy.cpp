#include "files/FileCopy.h"

#include <cstdio>
#include <vector>

#include "files/ReplacementFile.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/Paths.h"
#include "platform/ReadAll.h"
#include "platform/WriteAll.h"

namespace wh {

namespace {

constexpr std::size_t kCopyBufferSize = 8192;

std::string Quoted(const char* format, const std::string& path) {
    const std::string native = NativePath(path);
    const int size = std::snprintf(nullptr, 0, format, native.c_str());
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, native.c_str());
    text.resize(static_cast<std::size_t>(size));
    return text;
}

} // namespace

void FileCopy(const std::string& source, const std::string& destination) {
    std::vector<char> buffer(kCopyBufferSize);

    const TFileDescriptor in = OpenFile(OsPath(source), OpenRead);
    if (!in.IsOpen())
        throw EFOpenError(Quoted("Could not open \"%s\".", source));

    TFileDescriptor out = OpenFile(OsPath(destination), OpenWrite | OpenCreate | OpenTruncate);
    if (!out.IsOpen())
        throw EFOpenError(Quoted("Could not open \"%s\".", destination));

    long long n;
    do {
        n = ReadAll(in.Get(), buffer.data(), buffer.size());
        if (n < 0)
            throw EReadError(Quoted("Error reading from \"%s\"", source));
        if (n > 0 && WriteAll(out.Get(), buffer.data(), static_cast<std::size_t>(n)) != 0)
            throw EWriteError(Quoted("Error writing \"%s\"", destination));
    } while (static_cast<std::size_t>(n) >= kCopyBufferSize);

    // A file system may report a failed write only when the file is closed.
    if (out.Close() != 0)
        throw EWriteError(Quoted("Error writing \"%s\"", destination));
}

void FileCopy(const std::string& source, TReplacementFile& destination) {
    std::vector<char> buffer(kCopyBufferSize);

    const TFileDescriptor in = OpenFile(OsPath(source), OpenRead);
    if (!in.IsOpen())
        throw EFOpenError(Quoted("Could not open \"%s\".", source));

    long long n;
    try {
        do {
            n = ReadAll(in.Get(), buffer.data(), buffer.size());
            if (n < 0)
                throw EReadError(Quoted("Error reading from \"%s\"", source));
            destination.Write(buffer.data(), static_cast<std::size_t>(n));
        } while (static_cast<std::size_t>(n) >= kCopyBufferSize);
        destination.Flush();
    } catch (const EInOutError&) {
        // The copy's own message, naming the file the replacement is for.
        throw EWriteError("Error writing \"" + destination.ShownName() + "\"");
    }
}

} // namespace wh
