#include "ZipWriter.h"

#include <zip.h>

#include <stdexcept>

namespace wh::sample {

TZipWriter::TZipWriter(const std::filesystem::path& path, const TLocalTime& entryTime)
    : FPath(path), FEntryTime(ToTimeT(entryTime)) {
    int error = 0;
    FArchive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!FArchive) {
        zip_error_t details;
        zip_error_init_with_code(&details, error);
        const std::string message = zip_error_strerror(&details);
        zip_error_fini(&details);
        throw std::runtime_error("cannot create " + path.string() + ": " + message);
    }
}

TZipWriter::~TZipWriter() {
    if (FArchive)
        zip_discard(FArchive);
}

void TZipWriter::Fail(const std::string& what) {
    throw std::runtime_error(FPath.string() + ": " + what + ": " + zip_strerror(FArchive));
}

void TZipWriter::Add(const TZipEntry& entry) {
    zip_int64_t index;
    if (!entry.Name.empty() && entry.Name.back() == '/') {
        index = zip_dir_add(FArchive, entry.Name.c_str(), ZIP_FL_ENC_CP437);
        if (index < 0)
            Fail("cannot add folder " + entry.Name);
    } else {
        const std::string& data = FBuffers.emplace_back(entry.Data);
        zip_source_t* source = zip_source_buffer(FArchive, data.data(), data.size(), 0);
        if (!source)
            Fail("cannot take the data of " + entry.Name);
        index = zip_file_add(FArchive, entry.Name.c_str(), source, ZIP_FL_ENC_CP437);
        if (index < 0) {
            zip_source_free(source);
            Fail("cannot add " + entry.Name);
        }
    }
    if (zip_file_set_mtime(FArchive, static_cast<zip_uint64_t>(index), FEntryTime, 0) < 0)
        Fail("cannot set the time of " + entry.Name);
}

void TZipWriter::Add(const std::vector<TZipEntry>& entries) {
    for (const auto& entry : entries)
        Add(entry);
}

void TZipWriter::Close() {
    if (zip_close(FArchive) < 0)
        Fail("cannot write the archive");
    FArchive = nullptr;
    FBuffers.clear();
}

void WriteZip(const std::filesystem::path& path, const TLocalTime& entryTime, const std::vector<TZipEntry>& entries) {
    TZipWriter writer(path, entryTime);
    writer.Add(entries);
    writer.Close();
}

} // namespace wh::sample
