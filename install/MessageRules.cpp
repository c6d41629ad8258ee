#include "install/MessageRules.h"

#include "platform/Codepage.h"

namespace wh {

std::string ApplicationTitle(const std::string& executableFileName) {
    const std::string name = executableFileName.substr(0, executableFileName.find('.'));
    if (name.empty())
        return name;
    return name.substr(0, 1) + AnsiLowerCase(name.substr(1));
}

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

} // namespace wh
