#pragma once

#include "Bitmap.h"
#include "LocalTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wh::sample {

// Everything below is invented for the sample: airlines, designers, model
// names and registrations. Texts are Windows-1252, as the collection's are.

struct TLiveryColours {
    TRgb Primary;
    TRgb Secondary;
    TRgb Accent;
};

struct TSampleLivery {
    std::string Airline;
    std::string Texture;      // the folder is "texture." + Texture
    std::string Callsign;     // atc_airline
    std::string Registration; // atc_id
    std::string FlightNumber;
    std::string Designer;
    std::string FileName; // some carry a note after a blank, as uploads do
    std::string Model;
    std::string Status; // "ok" or "pending"
    std::string Inclusion;
    TLiveryColours Colours;
    TLocalTime ArchiveTime;
    std::uint32_t ArtSeed = 0; // varies the paint's grain from livery to livery
};

struct TSamplePackage {
    std::string Directory; // also the aircraft's folder in the simulator
    std::string Manufacturer;
    std::string UIType;
    std::string AtcType;
    std::string AtcModel;
    TLocalTime BaseTime;
    std::vector<TSampleLivery> Liveries;
    int InstalledLivery = -1; // index of the livery already in the sample simulator folder
};

// Always the same collection: a fixed seed, fixed dates.
std::vector<TSamplePackage> MakeCollection();

} // namespace wh::sample
