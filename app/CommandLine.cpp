#include "app/CommandLine.h"

#include "platform/Codepage.h"

namespace wh {

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine result;
    for (const auto& argument : arguments) {
        if (AnsiLowerCase(argument) != "/ignorestatus") {
            result.UnknownArgument = argument;
            break;
        }
        result.IgnoreStatus = true;
    }
    return result;
}

std::string UnknownParameterMessage(const std::string& argument) { return "Unknown Parameter '" + argument + "'."; }

} // namespace wh
