#pragma once

#include <string>

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

// Replaces the body of the first section holding key=value (found as
// FindLiverySection finds it) with the body of the source's first section S,
// keeping the section's place, its header line and the blank lines that end
// it. False, and nothing written, when no section holds that line. A source
// without S leaves the section as it is.
bool ReplaceLiverySectionLines(const TCfgLines& source, TCfgLines& cfg, const std::string& section,
                               const std::string& key, const std::string& value);

} // namespace wh
