#pragma once

#include <string>

namespace wh {

class TTerminationRequests;

// Asks the question (Windows-1252) on the terminal and reads the answer from
// standard input: true only for "y" or "yes" in any letter case; an empty
// answer or the input's end is No. Ctrl+C meanwhile ends the program.
bool AskYesNo(const std::string& question, TTerminationRequests& termination);

} // namespace wh
