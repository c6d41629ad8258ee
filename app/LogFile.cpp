#include "app/LogFile.h"

#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

TLogFile::TLogFile(const std::string& path) : FPath(path), FFile(std::fopen(OsPath(path).c_str(), "wb")) {
    if (!FFile)
        throw EFOpenError("Cannot create file \"" + NativePath(path) + "\"");
}

void TLogFile::WriteLine(const std::string& text) {
    const std::string line = text + "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), FFile.get()) != line.size())
        throw EWriteError("Error writing \"" + NativePath(FPath) + "\"");
    if (std::fflush(FFile.get()) != 0)
        throw EInOutError("Error flushing \"" + NativePath(FPath) + "\"");
}

} // namespace wh
