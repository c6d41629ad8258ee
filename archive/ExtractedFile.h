#pragma once

#include <cstddef>
#include <ctime>
#include <string>

namespace wh {

// One extracted file on its way into a folder: written under a temporary name
// and renamed over the final name only when complete, so a damaged entry never
// replaces a good file with half of itself, and an existing symbolic link of
// that name is replaced, never followed. Errors raise std::system_error.
class TExtractedFile {
public:
    TExtractedFile(int folderFd, std::string name);
    ~TExtractedFile();
    TExtractedFile(const TExtractedFile&) = delete;
    TExtractedFile& operator=(const TExtractedFile&) = delete;

    void Write(const char* data, std::size_t size);
    // Gives the file its modification time and puts it in place.
    void Commit(std::time_t modified);

private:
    int FFolderFd;
    std::string FName;
    std::string FTempName;
    int FFd = -1;
    bool FCommitted = false;
};

} // namespace wh
