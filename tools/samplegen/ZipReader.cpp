#include "ZipReader.h"

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace wh::sample {

TZipReader::TZipReader(const std::filesystem::path& path) : FPath(path) {
    int error = 0;
    FArchive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!FArchive)
        throw std::runtime_error("cannot open " + path.string() + " as a zip archive (libzip error " +
                                 std::to_string(error) + ")");
}

TZipReader::~TZipReader() { zip_discard(FArchive); }

std::vector<std::string> TZipReader::Names() const {
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(FArchive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(FArchive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!name)
            throw std::runtime_error(FPath.string() + ": unreadable entry name");
        names.emplace_back(name);
    }
    return names;
}

std::string TZipReader::Read(const std::string& name) const {
    zip_stat_t stat;
    if (zip_stat(FArchive, name.c_str(), 0, &stat) < 0)
        throw std::runtime_error(FPath.string() + " holds no " + name);
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen(FArchive, name.c_str(), 0), zip_fclose);
    if (!file)
        throw std::runtime_error(FPath.string() + ": cannot open " + name);
    std::string data(stat.size, '\0');
    if (zip_fread(file.get(), data.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
        throw std::runtime_error(FPath.string() + ": cannot read " + name);
    return data;
}

} // namespace wh::sample
