#include "files/ReplacementFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// Keeps the temporary name within the file system's limit for long names.
constexpr std::size_t MaxNameStem = 64;

std::string UniqueSuffix() {
    static thread_local std::mt19937 generator{std::random_device{}()};
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(generator()));
    return text;
}

} // namespace

TReplacementFile::TReplacementFile(std::string destination) : FDestination(std::move(destination)) {
    const std::string folder = ExtractFilePath(FDestination);
    const std::string stem = ExtractFileName(FDestination).substr(0, MaxNameStem);
    // The temporary name is ours and new, so only its folder needs looking
    // up; a lookup of the whole name would scan the folder for nothing.
    std::string osFolder = folder.empty() ? std::string() : OsPath(folder).string();
    if (!osFolder.empty() && osFolder.back() != PathDelim)
        osFolder += PathDelim;
    for (int attempt = 0;; ++attempt) {
        const std::string name = "." + stem + "." + UniqueSuffix() + ".part";
        FPath = folder + name;
        FOsPath = osFolder + AnsiToUtf8(name);
        FHandle = ::open(FOsPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FHandle >= 0)
            break;
        if (errno != EEXIST || attempt >= 100)
            Fail("Could not create", errno);
    }
    FBuffer.resize(BufferSize);
}

TReplacementFile::~TReplacementFile() {
    if (FHandle >= 0)
        ::close(FHandle);
    if (!FCommitted)
        ::unlink(FOsPath.c_str());
}

void TReplacementFile::Fail(const char* what, int error) const {
    throw EInOutError(std::string(what) + " \"" + NativePath(FDestination) + "\": " + std::strerror(error));
}

void TReplacementFile::WriteThrough(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(FHandle, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail("Error writing", errno);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void TReplacementFile::Flush() {
    if (FUsed > 0) {
        // Forget the data even when the write fails, so Close cannot retry it.
        const std::size_t used = FUsed;
        FUsed = 0;
        WriteThrough(FBuffer.data(), used);
    }
}

void TReplacementFile::Write(const char* data, std::size_t size) {
    if (FHandle < 0)
        Fail("Error writing", EBADF);
    if (FUsed + size > FBuffer.size())
        Flush();
    if (size >= FBuffer.size()) {
        WriteThrough(data, size);
        return;
    }
    std::memcpy(FBuffer.data() + FUsed, data, size);
    FUsed += size;
}

void TReplacementFile::Close() {
    if (FHandle < 0)
        return;
    Flush();
    const int handle = FHandle;
    FHandle = -1;
    if (::close(handle) != 0)
        Fail("Error writing", errno);
}

void TReplacementFile::Commit() {
    Close();
    std::error_code ec;
    std::filesystem::rename(FOsPath, OsPath(FDestination), ec);
    if (ec)
        Fail("Could not replace", ec.value());
    FCommitted = true;
}

} // namespace wh
