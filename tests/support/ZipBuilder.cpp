#include "tests/support/ZipBuilder.h"

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace wh::test {

namespace {

struct TZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};

[[noreturn]] void Fail(zip_t* z, const std::string& what) {
    throw std::runtime_error(what + ": " + zip_strerror(z));
}

} // namespace

void BuildZip(const std::string& path, const std::vector<TZipEntry>& entries) {
    int error = 0;
    std::unique_ptr<zip_t, TZipCloser> archive(zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error));
    if (!archive)
        throw std::runtime_error("cannot create " + path);
    zip_t* z = archive.get();
    for (const auto& entry : entries) {
        zip_int64_t index;
        if (!entry.Name.empty() && entry.Name.back() == '/') {
            index = zip_dir_add(z, entry.Name.c_str(), ZIP_FL_ENC_RAW);
            if (index < 0)
                Fail(z, "zip_dir_add " + entry.Name);
        } else {
            zip_source_t* source = zip_source_buffer(z, entry.Data.data(), entry.Data.size(), 0);
            if (!source)
                Fail(z, "zip_source_buffer");
            index = zip_file_add(z, entry.Name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_RAW);
            if (index < 0) {
                zip_source_free(source);
                Fail(z, "zip_file_add " + entry.Name);
            }
            if (entry.Stored && zip_set_file_compression(z, index, ZIP_CM_STORE, 0) < 0)
                Fail(z, "zip_set_file_compression");
            if (entry.Encrypted && zip_file_set_encryption(z, index, ZIP_EM_AES_256, "secret") < 0)
                Fail(z, "zip_file_set_encryption");
            if (entry.Symlink) {
                // Unix mode in the high 16 bits of the external attributes.
                const zip_uint32_t mode = 0120777u << 16;
                if (zip_file_set_external_attributes(z, index, 0, ZIP_OPSYS_UNIX, mode) < 0)
                    Fail(z, "zip_file_set_external_attributes");
            }
        }
        if (entry.MTime != 0 && zip_file_set_mtime(z, index, entry.MTime, 0) < 0)
            Fail(z, "zip_file_set_mtime");
    }
    if (zip_close(z) < 0)
        Fail(z, "zip_close " + path);
    archive.release();
}

} // namespace wh::test
