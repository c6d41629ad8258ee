#include "catalogue/CollectionLayout.h"

#include "catalogue/Aircraft.h"
#include "platform/Paths.h"

namespace wh {

std::string AircraftListName(const std::string& directory) { return AppendSeparator(directory, '\\') + "aircraft.lst"; }

std::string BaseArchiveName(const std::string& directory) { return directory + "\\base.zip"; }

std::string LiveryArchiveName(const TWHAircraft& aircraft) {
    return aircraft.Directory + "\\" + aircraft.Texture + ".zip";
}

std::string AircraftFolderPath(const std::string& fsDir, const std::string& directory) {
    return AppendSeparator(fsDir, '\\') + "aircraft\\" + directory;
}

std::string AircraftCfgPath(const std::string& fsDir, const std::string& directory) {
    return AircraftFolderPath(fsDir, directory) + "\\aircraft.cfg";
}

std::string TextureFolderPath(const TWHAircraft& aircraft, const std::string& fsDir) {
    return AircraftFolderPath(fsDir, aircraft.Directory) + "\\texture." + aircraft.Texture;
}

std::string ArchiveCopyPath(const TWHAircraft& aircraft, const std::string& workingDir) {
    return workingDir + LiveryArchiveName(aircraft);
}

} // namespace wh
