#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "install/CfgSections.h"
#include "platform/Codepage.h"

namespace {

void Check(bool holds) {
    if (!holds)
        std::abort();
}

// The input's first NUL-separated parts name the section and the value;
// the rest is split into the catalogue and the cfg at the next NUL.
std::string_view Part(std::string_view& rest) {
    const std::size_t end = rest.find('\0');
    const std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return part;
}

wh::TCfgLines Headers(const wh::TCfgLines& lines) {
    wh::TCfgLines headers;
    for (const auto& line : lines)
        if (wh::IsSectionHeader(line))
            headers.push_back(line);
    return headers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string section(Part(rest)), value(Part(rest));
    const wh::TCfgLines source = wh::SplitLines(Part(rest));
    const wh::TCfgLines cfg = wh::SplitLines(rest);

    Check(wh::SplitLines(wh::JoinLines(cfg)) == cfg);

    wh::TCfgLines appended = cfg;
    wh::AppendSectionLines(source, appended, section);
    Check(appended.size() >= cfg.size());
    Check(std::equal(cfg.begin(), cfg.end(), appended.begin()));

    wh::TCfgLines once = appended;
    wh::RenumberSectionLines(once, "fltsim.");
    wh::TCfgLines twice = once;
    wh::RenumberSectionLines(twice, "fltsim.");
    Check(once == twice && once.size() == appended.size());

    const wh::TLiveryLines names = {"texture=" + value, "texture = " + value};
    const auto header = wh::FindInstalledSectionLine(cfg, names);
    wh::TCfgLines replaced = cfg;
    const bool hit = wh::ReplaceLiverySectionLines(source, replaced, section, names);
    if (!hit)
        Check(replaced == cfg);
    // Only a body is swapped, and only a livery section's: the headers stay, in order.
    Check(Headers(replaced) == Headers(cfg));
    Check(hit == header.has_value());
    Check(!header || wh::AnsiLowerCase(wh::Trim(cfg[*header])).starts_with("[fltsim."));
    (void)wh::FindLiverySection(cfg, "texture", value);
    return 0;
}
