#pragma once

namespace wh {

// The short usage line a usage error ends with, and what --help shows.
extern const char* const UsageText;
extern const char* const HelpText;

} // namespace wh
