#include "fetch/SourceURL.h"

#include <algorithm>

#include "platform/Codepage.h"
#include "platform/Paths.h"

namespace wh {

namespace {

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && AnsiLowerCase(text.substr(0, prefix.size())) == prefix;
}

} // namespace

bool IsHttpSourceURL(const std::string& url) {
    return StartsWithIgnoringCase(url, "http://") || StartsWithIgnoringCase(url, "https://");
}

std::string SourceFileURL(const std::string& sourceURL, const std::string& relativeName) {
    std::string path = relativeName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return AppendSeparator(sourceURL, '/') + path;
}

} // namespace wh
