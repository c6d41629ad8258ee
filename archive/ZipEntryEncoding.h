#pragma once

#include <zip.h>

#include <optional>
#include <string>

namespace wh {

// An entry's name in UTF-8, read as the archive says it is written: the
// UTF-8 flag, or the Unicode path field when its check value matches (both
// honoured by libzip); valid UTF-8 from a Unix or Macintosh host, as zip
// programs there write their names; else the DOS code page, as the format
// defines. Empty when the entry cannot be read.
std::optional<std::string> EntryNameUtf8(zip_t* archive, zip_uint64_t index);

// The first entry name that Windows-1252 cannot hold, UTF-8; such an entry
// could not be named by the rest of the program, so its archive is refused
// before anything of it is written.
std::optional<std::string> FirstNameAnsiCannotHold(zip_t* archive);

} // namespace wh
