#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace wh {

// A new file in the destination's folder, under a unique hidden name, that
// takes the destination's place only when Commit is called. Until then the
// destination is never touched; a file that is not committed is removed when
// the object goes, so an older copy survives every failure as it was.
// Errors raise EInOutError naming the destination, not the temporary name.
class TReplacementFile {
public:
    static constexpr std::size_t BufferSize = 64 * 1024;

    explicit TReplacementFile(std::string destination);
    ~TReplacementFile();
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;

    const std::string& Destination() const { return FDestination; }
    const std::string& Path() const { return FPath; }   // the temporary file

    // Buffered; the data reaches the file at the latest on Close.
    void Write(const char* data, std::size_t size);
    // Flushes and closes; later writes go nowhere. Another program (FileCopy)
    // may then fill the file by its path.
    void Close();
    // Closes when still open and renames the file over the destination.
    void Commit();

private:
    [[noreturn]] void Fail(const char* what, int error) const;
    void WriteThrough(const char* data, std::size_t size);
    void Flush();

    std::string FDestination;
    std::string FPath;
    std::string FOsPath;   // FPath as the system knows it
    int FHandle = -1;
    bool FCommitted = false;
    std::vector<char> FBuffer;
    std::size_t FUsed = 0;
};

} // namespace wh
