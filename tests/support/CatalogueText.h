#pragma once

#include <string>
#include <vector>

namespace wh::test {

// One livery of a test catalogue's aircraft.lst.
struct TTestLivery {
    std::string Airline;
    std::string Type = "A320";
    std::string Designer = "D. Signer";
    std::string Model = "m1";
    std::string Status = "ok";
    std::string Texture;
    std::string Inclusion = "";
    long Size = 1048576;
    std::string Timestamp{}; // wh_archivetimestamp; none when empty
    std::string Extra{};     // further "key=value\r\n" lines, written first
};

// The section "[fltsim.<n>]" of the livery.
std::string LiverySection(int n, const TTestLivery& livery);
// An aircraft.lst of these liveries, numbered from 0.
std::string AircraftListText(const std::vector<TTestLivery>& liveries);
// A packages.lst of these package folders, numbered from 0.
std::string PackagesListText(const std::vector<std::string>& directories);

} // namespace wh::test
