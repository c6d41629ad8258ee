#include "tests/support/ZipBuilder.h"

#include <zip.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace wh::test {

namespace {

struct TZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};

[[noreturn]] void Fail(zip_t* z, const std::string& what) { throw std::runtime_error(what + ": " + zip_strerror(z)); }

std::uint32_t Get(const std::string& bytes, std::size_t at, int width) {
    if (at + static_cast<std::size_t>(width) > bytes.size())
        throw std::runtime_error("zip structure out of range");
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

void Put(std::string& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes.at(at + static_cast<std::size_t>(i)) = static_cast<char>(value >> (8 * i));
}

void ClearUtf8Flag(std::string& bytes, std::size_t flagsAt) {
    constexpr unsigned char kUtf8FlagHigh = 0x08; // bit 11 of the general purpose flags
    bytes.at(flagsAt + 1) = static_cast<char>(static_cast<unsigned char>(bytes.at(flagsAt + 1)) & ~kUtf8FlagHigh);
}

// libzip marks every name that looks like UTF-8; old tools never did, so the
// flag is taken off again in the central and the local headers. A raw entry,
// stored by libzip, gets its method, CRC and size there too.
void PatchHeaders(const std::string& path, const std::vector<TZipEntry>& entries) {
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    constexpr std::size_t kEndRecordSize = 22; // libzip writes no archive comment
    if (bytes.size() < kEndRecordSize || Get(bytes, bytes.size() - kEndRecordSize, 4) != 0x06054b50)
        throw std::runtime_error("end of central directory not found in " + path);
    const std::size_t end = bytes.size() - kEndRecordSize;
    std::size_t at = Get(bytes, end + 16, 4);
    const std::uint32_t count = Get(bytes, end + 10, 2);
    for (std::uint32_t i = 0; i < count && i < entries.size(); ++i) {
        if (Get(bytes, at, 4) != 0x02014b50)
            throw std::runtime_error("central directory damaged in " + path);
        if (entries[i].Cp437Name) {
            ClearUtf8Flag(bytes, at + 8);
            ClearUtf8Flag(bytes, Get(bytes, at + 42, 4) + 6);
        }
        if (const TZipEntry& raw = entries[i]; raw.RawMethod >= 0) {
            const auto crc =
                crc32(0, reinterpret_cast<const Bytef*>(raw.Original.data()), static_cast<uInt>(raw.Original.size()));
            // From two bytes in, the central header has the local one's layout.
            for (const std::size_t header : {at + 2, std::size_t{Get(bytes, at + 42, 4)}}) {
                Put(bytes, header + 8, static_cast<std::uint32_t>(raw.RawMethod), 2);
                Put(bytes, header + 14, static_cast<std::uint32_t>(crc), 4);
                Put(bytes, header + 22, static_cast<std::uint32_t>(raw.Original.size()), 4);
            }
        }
        at += 46 + Get(bytes, at + 28, 2) + Get(bytes, at + 30, 2) + Get(bytes, at + 32, 2);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot rewrite " + path);
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
            if ((entry.Stored || entry.RawMethod >= 0) && zip_set_file_compression(z, index, ZIP_CM_STORE, 0) < 0)
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
        if (entry.DosHost && zip_file_set_external_attributes(z, index, 0, ZIP_OPSYS_DOS, 0) < 0)
            Fail(z, "zip_file_set_external_attributes");
        if (entry.MTime != 0 && zip_file_set_mtime(z, index, entry.MTime, 0) < 0)
            Fail(z, "zip_file_set_mtime");
    }
    if (zip_close(z) < 0)
        Fail(z, "zip_close " + path);
    archive.release();
    for (const auto& entry : entries)
        if (entry.Cp437Name || entry.RawMethod >= 0) {
            PatchHeaders(path, entries);
            break;
        }
}

} // namespace wh::test
