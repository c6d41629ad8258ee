#pragma once

#include <string>

namespace wh {

// Facts compiled into the program.
std::string ProgramVersionText(); // "major.minor.release.build"
std::string HomePageURL();

} // namespace wh
