#pragma once

#include <string>
#include <vector>

#include "archive/UnZip32.h"

namespace wh {

// The six lines that open every log, describing the extraction library.
std::vector<std::string> UnzipVersionReport(const UzpVer& version);

} // namespace wh
