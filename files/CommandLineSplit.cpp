#include "files/CommandLineSplit.h"

#include "platform/Paths.h"

namespace wh {

std::vector<std::string> SplitCommandLine(const std::string& text) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
            ++i;
        if (i >= text.size())
            break;
        std::string token;
        bool quoted = false;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && static_cast<unsigned char>(c) <= ' ')
                break;
            else
                token += c;
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::string EditFileName(const std::string& text) {
    if (FileExists(text))
        return text;
    const auto tokens = SplitCommandLine(text);
    return tokens.empty() ? std::string() : tokens.front();
}

} // namespace wh
