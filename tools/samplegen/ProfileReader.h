#pragma once

#include <map>
#include <optional>
#include <string>

namespace wh::sample {

// Just enough of an INI reader to check the generated catalogue: sections and
// keys match without regard to case, values are trimmed, the first
// occurrence of a section or key counts.
class TProfileReader {
public:
    explicit TProfileReader(const std::string& text);

    bool HasSection(const std::string& section) const;
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;

private:
    std::map<std::string, std::map<std::string, std::string>> FSections;
};

} // namespace wh::sample
