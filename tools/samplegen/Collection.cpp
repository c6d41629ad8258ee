#include "Collection.h"

#include <random>

namespace wh::sample {

namespace {

struct TAirlineSeed {
    const char* Airline;
    const char* Slug;
    const char* Callsign;
    TLiveryColours Colours;
    bool Pending;
};

struct TPackageSeed {
    const char* Directory;
    const char* Manufacturer;
    const char* UIType;
    const char* AtcType;
    const char* AtcModel;
    const char* ModelName;
    std::vector<TAirlineSeed> Airlines;
};

const std::vector<TPackageSeed>& PackageSeeds() {
    static const std::vector<TPackageSeed> seeds = {
        {"wh_a320",
         "Airbus",
         "A320-200",
         "AIRBUS",
         "A320",
         "Kite",
         {{"Northwind Skyways", "northwind", "NORTHWIND", {{24, 42, 92}, {196, 202, 210}, {200, 30, 45}}, false},
          {"Coral Bay Air", "coralbay", "CORAL BAY", {{240, 112, 90}, {250, 250, 245}, {0, 128, 128}}, false},
          {"Vantora Airlines", "vantora", "VANTORA", {{88, 40, 120}, {212, 175, 55}, {250, 250, 250}}, false},
          {"Silverfjord Aviation", "silverfjord", "SILVERFJORD", {{180, 186, 194}, {20, 80, 160}, {10, 30, 60}}, true},
          {"Ambercrest Airlines", "ambercrest", "AMBERCREST", {{230, 150, 20}, {110, 60, 20}, {250, 240, 220}}, false},
          {"Pelican Isles Airways", "pelican", "PELICAN", {{70, 160, 220}, {250, 220, 60}, {255, 255, 255}}, false},
          {"Saffron Sky", "saffron", "SAFFRON", {{244, 180, 0}, {120, 20, 40}, {255, 250, 235}}, true}}},
        {"wh_b737",
         "Boeing",
         "737-800",
         "BOEING",
         "737-800",
         "Crow",
         {{"Kestrel Express", "kestrel", "KESTREL", {{30, 120, 60}, {250, 250, 250}, {240, 120, 20}}, false},
          {"Granite Peak Airlines", "granitepeak", "GRANITE", {{96, 100, 104}, {20, 70, 40}, {230, 230, 225}}, false},
          {"Tidewater Connect", "tidewater", "TIDEWATER", {{0, 130, 140}, {20, 30, 80}, {240, 248, 250}}, false},
          {"Larkspur Air", "larkspur", "LARKSPUR", {{150, 130, 210}, {255, 255, 255}, {70, 40, 120}}, true},
          {"Redcliff Air", "redcliff", "REDCLIFF", {{180, 30, 30}, {245, 235, 210}, {40, 20, 20}}, false},
          {"Frostline Cargo", "frostline", "FROSTLINE", {{200, 230, 245}, {255, 255, 255}, {30, 90, 150}}, false}}},
        {"wh_dh8d",
         "De Havilland",
         "Dash 8-400",
         "DASH8",
         "DH8D",
         "Tern",
         {{"Harbour Gull Air", "harbourgull", "HARBOUR GULL", {{250, 250, 250}, {20, 90, 170}, {230, 60, 40}}, false},
          {"Highmoor Air", "highmoor", "HIGHMOOR", {{90, 60, 110}, {200, 190, 150}, {255, 255, 255}}, false},
          {"Bluefen Airlines", "bluefen", "BLUEFEN", {{30, 70, 150}, {120, 190, 230}, {250, 250, 250}}, true},
          {"Orchid Coast Air", "orchid", "ORCHID", {{200, 60, 150}, {250, 240, 250}, {60, 140, 60}}, false},
          {"Cindervale Airways", "cindervale", "CINDERVALE", {{60, 60, 64}, {230, 90, 20}, {240, 240, 240}}, false}}},
        {"wh_e190",
         "Embraer",
         "E190",
         "EMBRAER",
         "E190",
         "Swift",
         {{"Quillon Airways", "quillon", "QUILLON", {{140, 20, 50}, {250, 250, 250}, {200, 160, 60}}, false},
          {"Ivory Crane Airways", "ivorycrane", "IVORY CRANE", {{248, 244, 230}, {170, 30, 40}, {30, 30, 30}}, false},
          {"Westmere Charter", "westmere", "WESTMERE", {{40, 100, 70}, {220, 200, 120}, {255, 255, 255}}, true},
          {"A\xE9ro Solvard", "solvard", "SOLVARD", {{0, 70, 130}, {255, 200, 0}, {255, 255, 255}}, false}}},
    };
    return seeds;
}

const std::vector<std::string>& Designers() {
    static const std::vector<std::string> names = {
        "Tomas Verhoek", "Ines Calloway", "Rafael Ostrander",  "Maren Lindqvist",
        "Dario Fenwick", "Noor Haldane",  "Jos\xE9 Arranmore",
    };
    return names;
}

// Uniform enough for picking sample values, and unlike the standard
// distributions it gives the same numbers with every standard library.
int Pick(std::mt19937& rng, int count) { return static_cast<int>(rng() % static_cast<std::uint32_t>(count)); }

std::string Letters(std::mt19937& rng, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<char>('A' + Pick(rng, 26)));
    return out;
}

} // namespace

std::vector<TSamplePackage> MakeCollection() {
    std::mt19937 rng(20261101u);
    // Short: the list gives these columns little room.
    const char* inclusions[] = {"textures", "textures", "tex+VC"};
    std::vector<TSamplePackage> packages;
    int packageIndex = 0;
    for (const auto& seed : PackageSeeds()) {
        TSamplePackage package;
        package.Directory = seed.Directory;
        package.Manufacturer = seed.Manufacturer;
        package.UIType = seed.UIType;
        package.AtcType = seed.AtcType;
        package.AtcModel = seed.AtcModel;
        package.BaseTime = {2026, 9, 14 + 3 * packageIndex, 10, 30, 0};
        const std::string shortName = package.Directory.substr(3); // "a320" from "wh_a320"
        for (const auto& airline : seed.Airlines) {
            TSampleLivery livery;
            livery.Airline = airline.Airline;
            livery.Texture = shortName + "_" + airline.Slug;
            livery.Callsign = airline.Callsign;
            livery.Registration = "W" + std::to_string(100 + Pick(rng, 900)) + Letters(rng, 2);
            livery.FlightNumber = std::to_string(10 + Pick(rng, 3990));
            livery.Designer = Designers()[Pick(rng, static_cast<int>(Designers().size()))];
            livery.FileName = livery.Texture + ".zip";
            if (Pick(rng, 3) == 0)
                livery.FileName += " (repaint of the " + package.UIType + ")";
            livery.Model = std::string(seed.ModelName) + (Pick(rng, 3) == 0 ? "2" : "");
            livery.Status = airline.Pending ? "pending" : "ok";
            livery.Inclusion = inclusions[Pick(rng, 3)];
            livery.Colours = airline.Colours;
            // Between 1 October and 1 November, always in the past for the client.
            livery.ArchiveTime = {2026, 10, 1 + Pick(rng, 30), 8 + Pick(rng, 11), Pick(rng, 60), 2 * Pick(rng, 30)};
            livery.ArtSeed = static_cast<std::uint32_t>(rng());
            package.Liveries.push_back(livery);
        }
        packages.push_back(package);
        ++packageIndex;
    }
    packages.front().InstalledLivery = 0;
    return packages;
}

} // namespace wh::sample
