#pragma once

#include <string>

namespace wh {

// True when the source URL, as typed (a leading blank counts), is one the
// program fetches over HTTP: it starts with "http://" or "https://" in any
// letter case.
bool IsHttpSourceURL(const std::string& url);

// The URL of a file named relative to the source root ("\" between folders):
// the source URL without blanks at its ends and with a final "/", then the
// name with "/" for every "\", unescaped.
std::string SourceFileURL(const std::string& sourceURL, const std::string& relativeName);

} // namespace wh
