#pragma once

#include <string>

namespace wh {

class TWHActivity;

// Extracts the archive W + archiveName (W the working directory) into
// targetDir with the archive's folders, overwriting existing files; the
// library's messages become status lines. Raises EWingharbour naming the
// archive when the extraction fails.
void ExtractArchive(const std::string& archiveName, const std::string& targetDir, TWHActivity& activity);

} // namespace wh
