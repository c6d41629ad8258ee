#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "install/CfgLines.h"

namespace wh {

// The livery sections of an aircraft.cfg. Each operation is a function on the
// lines; a caller reads the cfg whole (LoadLines) and writes it back whole in
// one step (SaveLines). Finding and renumbering also have a file form.

// Appends every occurrence of section S in source, each behind one empty line:
// its header and the lines up to the next header, unchanged.
void AppendSectionLines(const TCfgLines& source, TCfgLines& cfg, const std::string& section);

// The name of the nearest header above the first line that is key=value
// (whole line, letter case ignored); "" when no line is, or none is above it.
std::string FindLiverySection(const TCfgLines& cfg, const std::string& key, const std::string& value);
std::string FindLiverySection(const std::string& cfgFile, const std::string& key, const std::string& value);

// Every header starting with "[" + prefix, letter case ignored, becomes
// "[" + prefix + n + "]", n counting from 0 in file order. A missing file
// raises EWingharbour "aircraft.cfg not found in '<folder>'.".
void RenumberSectionLines(TCfgLines& cfg, const std::string& prefix);
void RenumberSections(const std::string& cfgFile, const std::string& prefix);

// The lines that can name one livery in aircraft.cfg, each compared as a
// whole line with letter case ignored.
using TLiveryLines = std::vector<std::string>;

// The first livery section ("fltsim." and a number, letter case ignored)
// holding one of the lines: its header's line number. A match outside such a
// section is passed over; none when no livery section holds one.
std::optional<std::size_t> FindInstalledSectionLine(const TCfgLines& cfg, const TLiveryLines& lines);

// Replaces the body of that section with the body of the source's first
// section S, keeping the section's place, its header line and the blank
// lines that end it. False, and nothing changed, when no livery section holds
// one of the lines. A source without S leaves the section as it is.
bool ReplaceLiverySectionLines(const TCfgLines& source, TCfgLines& cfg, const std::string& section,
                               const TLiveryLines& lines);

} // namespace wh
