#pragma once

#include <string>

namespace wh {

// The title of every message box: the executable's file name up to its first
// ".", every character after the first lower-cased.
std::string ApplicationTitle(const std::string& executableFileName);

// The error box's text: a final "." is added when the last character sorts
// after "." (bytes compared unsigned, so accented letters count too). An empty
// message stays empty: there is no last character to judge.
std::string ErrorBoxText(const std::string& message);

inline constexpr const char* AnotherInstanceMessage =
    "Another instance of the Wingharbour Client is already running. Will not launch another.";

} // namespace wh
