#pragma once

#include <string>

namespace wh {

class TWHAircraft;

// Where the collection's files lie. The archive copy is the install record,
// so the installer, the deinstaller and the state of a row must name every
// file with the same spelling: these are the only places that build them.

// The section names of liveries, in aircraft.lst and aircraft.cfg, and the
// key of a livery's line.
inline constexpr const char* LiverySectionPrefix = "fltsim.";
inline constexpr const char* LiveryKey = "texture";

// Names relative to the source root and to the working directory, which
// mirrors it: D\aircraft.lst, D\base.zip, D\T.zip.
std::string AircraftListName(const std::string& directory);
std::string BaseArchiveName(const std::string& directory);
std::string LiveryArchiveName(const TWHAircraft& aircraft);

// In the simulator, fsDir its main folder (passed through AppendSeparator
// with "\" here): fsDir\aircraft\D, its aircraft.cfg, and the livery's
// texture folder fsDir\aircraft\D\texture.T.
std::string AircraftFolderPath(const std::string& fsDir, const std::string& directory);
std::string AircraftCfgPath(const std::string& fsDir, const std::string& directory);
std::string TextureFolderPath(const TWHAircraft& aircraft, const std::string& fsDir);

// The archive copy: W + D\T.zip, W the working directory with its separator.
std::string ArchiveCopyPath(const TWHAircraft& aircraft, const std::string& workingDir);

} // namespace wh
