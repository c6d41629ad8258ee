#include "ProfileReader.h"

#include <algorithm>
#include <sstream>

namespace wh::sample {

namespace {

std::string Trimmed(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

} // namespace

TProfileReader::TProfileReader(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    std::map<std::string, std::string>* current = nullptr;
    std::map<std::string, std::string> ignored; // keys above the first section
    while (std::getline(in, line)) {
        const std::string trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed[0] == ';')
            continue;
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            current = &FSections[Lower(trimmed.substr(1, trimmed.size() - 2))];
            continue;
        }
        const std::size_t equals = trimmed.find('=');
        if (equals == std::string::npos)
            continue;
        auto& keys = current ? *current : ignored;
        keys.emplace(Lower(Trimmed(trimmed.substr(0, equals))), Trimmed(trimmed.substr(equals + 1)));
    }
}

bool TProfileReader::HasSection(const std::string& section) const {
    const auto found = FSections.find(Lower(section));
    return found != FSections.end() && !found->second.empty();
}

std::optional<std::string> TProfileReader::Value(const std::string& section, const std::string& key) const {
    const auto found = FSections.find(Lower(section));
    if (found == FSections.end())
        return std::nullopt;
    const auto value = found->second.find(Lower(key));
    if (value == found->second.end())
        return std::nullopt;
    return value->second;
}

} // namespace wh::sample
