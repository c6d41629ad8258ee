#pragma once

#include <filesystem>
#include <string>

namespace wh::test {

// A fresh folder below the system's temporary folder, removed with its contents.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // The folder's path with a final "/", as the program's folder paths end.
    std::string Dir() const { return FPath.string() + "/"; }
    std::string operator/(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// size bytes of every value, the same for the same seed.
std::string RandomBytes(std::size_t size, unsigned seed);
std::string ReadFile(const std::filesystem::path& path);

// Points the working directory (common application-data folder) at a folder
// for the life of the object.
class TWorkingDirOverride {
public:
    explicit TWorkingDirOverride(const std::string& commonAppDataFolder);
    ~TWorkingDirOverride();
};

} // namespace wh::test
