#pragma once

#include <string>

namespace wh {

// Truncates the file to length 0, keeping its times. Raises EFOpenError or
// EInOutError.
void ZapFile(const std::string& path);

} // namespace wh
