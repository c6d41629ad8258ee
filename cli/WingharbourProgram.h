#pragma once

#include <string>
#include <vector>

namespace wh {

// The command line program: the arguments after its name (UTF-8); the
// result is the exit status (cli/ExitStatus.h).
int RunWingharbour(const std::vector<std::string>& arguments);

} // namespace wh
