#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace wh {

// The log file beside the executable: created or truncated when opened, one
// line per text line ended by CR LF, every line flushed at once.
class TLogFile {
public:
    // Raises EFOpenError naming the file when it cannot be created.
    explicit TLogFile(const std::string& path);

    const std::string& Path() const { return FPath; }

    // Raises EWriteError when the write fails, EInOutError when the flush does.
    void WriteLine(const std::string& text);

private:
    struct TCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::string FPath;
    std::unique_ptr<std::FILE, TCloser> FFile;
};

} // namespace wh
