#include "archive/ZipEntryEncoding.h"

#include <string_view>

#include "platform/Codepage.h"

namespace wh {

namespace {

bool IsValidUtf8(std::string_view text) {
    char32_t cp;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = DecodeUtf8(text, i, cp);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool MadeOnUnixOrMac(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t host = ZIP_OPSYS_DOS;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &host, &attributes) != 0)
        return false;
    return host == ZIP_OPSYS_UNIX || host == ZIP_OPSYS_MACINTOSH || host == ZIP_OPSYS_OS_X;
}

} // namespace

std::optional<std::string> EntryNameUtf8(zip_t* archive, zip_uint64_t index) {
    const char* strict = zip_get_name(archive, index, ZIP_FL_ENC_STRICT);
    if (!strict)
        return std::nullopt;
    // Only a name that was converted from the DOS code page can read otherwise.
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    if (raw && std::string_view(raw) != strict && IsValidUtf8(raw) && MadeOnUnixOrMac(archive, index))
        return std::string(raw);
    return std::string(strict);
}

std::optional<std::string> FirstNameAnsiCannotHold(zip_t* archive) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto name = EntryNameUtf8(archive, static_cast<zip_uint64_t>(i));
        if (name && AnsiToUtf8(Utf8ToAnsi(*name)) != *name)
            return name;
    }
    return std::nullopt;
}

} // namespace wh
