#include "tests/support/TempDir.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/Paths.h"

namespace wh::test {

TTempDir::TTempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "wh-test-" << std::hex << rd() << rd();
        auto candidate = std::filesystem::temp_directory_path() / name.str();
        if (std::filesystem::create_directory(candidate)) {
            FPath = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TTempDir::~TTempDir() {
    std::error_code ec;
    // Tests may leave read-only entries behind; make them removable first.
    for (auto it = std::filesystem::recursive_directory_iterator(FPath, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ec);
    std::filesystem::remove_all(FPath, ec);
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

TWorkingDirOverride::TWorkingDirOverride(const std::string& commonAppDataFolder) {
    OverrideCommonAppDataFolder(commonAppDataFolder);
}

TWorkingDirOverride::~TWorkingDirOverride() { OverrideCommonAppDataFolder(""); }

} // namespace wh::test
