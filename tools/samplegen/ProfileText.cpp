#include "ProfileText.h"

namespace wh::sample {

TProfileText& TProfileText::Section(const std::string& name) {
    if (!FText.empty())
        FText += "\r\n";
    FText += "[" + name + "]\r\n";
    return *this;
}

TProfileText& TProfileText::Key(const std::string& key, const std::string& value) {
    FText += key + "=" + value + "\r\n";
    return *this;
}

TProfileText& TProfileText::Key(const std::string& key, long long value) { return Key(key, std::to_string(value)); }

TProfileText& TProfileText::Comment(const std::string& text) {
    FText += "; " + text + "\r\n";
    return *this;
}

} // namespace wh::sample
