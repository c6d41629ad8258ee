#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wh {

struct TCommandLine {
    bool IgnoreStatus = false;
    // The first argument that is not the option, letter case as given;
    // the program must end when it is set.
    std::optional<std::string> UnknownArgument;
};

// The arguments after the program name, left to right. Only "/ignorestatus"
// is known, in any letter case and any number of times.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UnknownParameterMessage(const std::string& argument);

} // namespace wh
