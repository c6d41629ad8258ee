#include "cli/Confirmation.h"

#include <cstdio>
#include <iostream>

#include "cli/StatusLines.h"
#include "cli/TerminationRequests.h"
#include "platform/Codepage.h"

namespace wh {

bool AskYesNo(const std::string& question, TTerminationRequests& termination) {
    const TTerminationRequests::TDefaultAction signalsEnd(termination);
    std::fputs((PrintableText(question) + " [y/N] ").c_str(), stderr);
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    const std::string word = AnsiLowerCase(Trim(answer));
    return word == "y" || word == "yes";
}

} // namespace wh
