#include "install/CfgSections.h"

#include <algorithm>
#include <optional>

#include "catalogue/CollectionLayout.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

bool IsBlank(const std::string& line) { return Trim(line).empty(); }

struct TLineRange {
    std::size_t Begin, End; // End is one past the last line
};

// The first line that is key=value and its nearest header above, if any.
std::optional<std::size_t> LiveryHeader(const TCfgLines& cfg, const std::string& key, const std::string& value) {
    const std::string wanted = AnsiLowerCase(key + "=" + value);
    std::optional<std::size_t> header;
    for (std::size_t i = 0; i < cfg.size(); ++i) {
        if (AnsiLowerCase(cfg[i]) == wanted)
            return header;
        if (IsSectionHeader(cfg[i]))
            header = i;
    }
    return std::nullopt;
}

// The lines after the header up to the last one that is not blank before the
// next header: what a section says, without the spacing that ends it.
TLineRange Body(const TCfgLines& lines, std::size_t header) {
    std::size_t end = header + 1;
    while (end < lines.size() && !IsSectionHeader(lines[end]))
        ++end;
    while (end > header + 1 && IsBlank(lines[end - 1]))
        --end;
    return {header + 1, end};
}

} // namespace

void AppendSectionLines(const TCfgLines& source, TCfgLines& cfg, const std::string& section) {
    bool copying = false;
    for (const auto& line : source) {
        if (IsHeaderOf(line, section)) {
            cfg.emplace_back();
            copying = true;
        } else if (copying && IsSectionHeader(line)) {
            copying = false;
        }
        if (copying)
            cfg.push_back(line);
    }
}

std::string FindLiverySection(const TCfgLines& cfg, const std::string& key, const std::string& value) {
    const auto header = LiveryHeader(cfg, key, value);
    return header ? HeaderName(cfg[*header]) : std::string();
}

std::string FindLiverySection(const std::string& cfgFile, const std::string& key, const std::string& value) {
    return FindLiverySection(LoadLines(cfgFile), key, value);
}

void RenumberSectionLines(TCfgLines& cfg, const std::string& prefix) {
    const std::string wanted = "[" + AnsiLowerCase(prefix);
    int n = 0;
    for (auto& line : cfg) {
        if (AnsiLowerCase(Trim(line)).starts_with(wanted))
            line = "[" + prefix + std::to_string(n++) + "]";
    }
}

void RenumberSections(const std::string& cfgFile, const std::string& prefix) {
    if (!FileExists(cfgFile))
        throw EWingharbour("aircraft.cfg not found in '" + NativePath(ExtractFilePath(cfgFile)) + "'.");
    TCfgLines cfg = LoadLines(cfgFile);
    RenumberSectionLines(cfg, prefix);
    SaveLines(cfgFile, cfg);
}

std::optional<std::size_t> FindInstalledSectionLine(const TCfgLines& cfg, const TLiveryLines& lines) {
    std::vector<std::string> wanted;
    for (const auto& line : lines)
        wanted.push_back(AnsiLowerCase(line));
    const std::string livery = "[" + AnsiLowerCase(LiverySectionPrefix);
    std::optional<std::size_t> header;
    for (std::size_t i = 0; i < cfg.size(); ++i) {
        if (IsSectionHeader(cfg[i])) {
            header = AnsiLowerCase(Trim(cfg[i])).starts_with(livery) ? std::optional(i) : std::nullopt;
        } else if (header && std::ranges::find(wanted, AnsiLowerCase(cfg[i])) != wanted.end()) {
            return header;
        }
    }
    return std::nullopt;
}

bool ReplaceLiverySectionLines(const TCfgLines& source, TCfgLines& cfg, const std::string& section,
                               const TLiveryLines& lines) {
    const auto header = FindInstalledSectionLine(cfg, lines);
    if (!header)
        return false;
    for (std::size_t i = 0; i < source.size(); ++i)
        if (IsHeaderOf(source[i], section)) {
            const TLineRange from = Body(source, i), to = Body(cfg, *header);
            const auto at = cfg.erase(cfg.begin() + static_cast<std::ptrdiff_t>(to.Begin),
                                      cfg.begin() + static_cast<std::ptrdiff_t>(to.End));
            cfg.insert(at, source.begin() + static_cast<std::ptrdiff_t>(from.Begin),
                       source.begin() + static_cast<std::ptrdiff_t>(from.End));
            break;
        }
    return true;
}

} // namespace wh
