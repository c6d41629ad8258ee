#pragma once

#include <string>

#include "install/WelcomeSettings.h"

namespace wh {

// The local source: selected, a text that is not blank, and the edit's file
// name names an existing file (a directory does not count).
bool LocalSourceValid(const TWelcomeSettings& page);
// The URL source: selected, a text that is not blank, and the untrimmed
// text's scheme, ignoring letter case, is "http://", "https://" or "file://".
bool URLSourceValid(const TWelcomeSettings& page);
// The simulator directory: not blank, an existing directory, with an
// "aircraft" directory in it (letter case ignored).
bool FSDirValid(const std::string& fsDir);

// The source tests first (the URL only when the local one fails), then the
// simulator directory only when a source passed.
bool WelcomePageValid(const TWelcomeSettings& page);

} // namespace wh
