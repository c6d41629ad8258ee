#pragma once

#include <string>

namespace wh {

class TWHActivity;
class TWHSourceSettings;

// Brings one file of the source, named relative to the source root with "\"
// between folders, into the working directory under the same name. Raises
// EWingharbour (or a file error) on failure; a failure never destroys the
// cached copy.
void FetchFile(const std::string& relativeName, TWHActivity& activity, const TWHSourceSettings& source);

std::string LocalSourceDir(const TWHSourceSettings& source);

} // namespace wh
