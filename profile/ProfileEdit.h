#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "profile/ProfileDocument.h"

namespace wh {

// Edits of a profile file's bytes. Each changes the lines it must and leaves
// every other byte as it was; a line it adds ends with CR LF. Both return
// nothing when the file would stay as it is.

// Sets key=value in the first section of that name (section and key trimmed,
// letter case ignored; leading whitespace of the value dropped). An existing
// key has its value replaced within its line; a new key follows the section's
// last entry; a new section goes to the end of the file.
std::optional<std::string> SetProfileValue(const TProfileDocument& document, std::string_view section,
                                           std::string_view key, std::string_view value);

// Removes the first section of that name (compared as given, letter case
// ignored): its header and its lines up to the next header, except the
// comments that stand directly above that next header.
std::optional<std::string> EraseProfileSection(const TProfileDocument& document, std::string_view section);

} // namespace wh
