#pragma once

#include <cstdint>
#include <string>

namespace wh {

enum TWHAircraftState : std::uint8_t {
    asNone = 0,    // nothing to fetch
    asNew = 1,     // released and not installed
    asUpdated = 2, // released, installed, and the catalogue's archive is newer
};

// The words of the Status column.
const char* StateText(TWHAircraftState state);

// One livery of the catalogue.
class TWHAircraft {
public:
    std::string Airline;
    std::string Designer;
    std::string UIType;
    std::string FileName;
    std::string Model;
    std::string CatalogueStatus;
    std::string Inclusion;
    std::int32_t ArchiveSize = -1;
    std::int32_t ArchiveTimestamp = -1;
    std::string Directory;
    std::string Texture;
    bool Installed = false;
    std::string Section;
    TWHAircraftState State = asNone;
};

} // namespace wh
