#pragma once

#include <string>

namespace wh {

// The working directory: the common application-data folder + "Wingharbour"
// where the user may write there, else "Wingharbour" in the user's data folder,
// ending with a separator; created when missing. Worked out afresh at every call.
std::string WorkingDir();

// The single-instance lock file. The lock guards the working directory, so
// it lies there: only users who share that folder can hold it.
std::string SingleInstanceLockFile();

// Creates every missing directory of the path; failures are ignored.
// An empty path raises EInOutError.
void CreateDirectoryPath(const std::string& path);

} // namespace wh
