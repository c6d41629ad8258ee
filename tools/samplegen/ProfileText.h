#pragma once

#include <string>

namespace wh::sample {

// Writes an INI-style file the way the simulator's tools do: "key=value"
// lines, CR LF line ends, a blank line between sections.
class TProfileText {
public:
    TProfileText& Section(const std::string& name);
    TProfileText& Key(const std::string& key, const std::string& value);
    TProfileText& Key(const std::string& key, long long value);
    TProfileText& Comment(const std::string& text);

    const std::string& Text() const { return FText; }

private:
    std::string FText;
};

} // namespace wh::sample
