#pragma once

#include <string>

namespace wh {

class TIniFile;

// The Welcome page's seven settings as the controls hold them.
struct TWelcomeSettings {
    bool LocalDir = false;         // rbLocalDir selected
    std::string PackageFile;       // edPackageFile text
    bool URL = true;               // rbURL selected
    std::string URLText;           // edURL text, untrimmed
    std::string FSDir;             // edFSDir text
    bool ZapFiles = true;          // cbZapFiles
    bool FakeManufacturer = false; // cbFakeManufacturer
};

inline constexpr const char* WelcomeSection = "Welcome";

// The collection on the project's web server, compiled into the program.
std::string DefaultSourceURL();

// Reads section "Welcome" in key order with the defaults. The two radio
// buttons form a group, so when both keys read true the URL source wins. A
// blank stored URL gives defaultURL; any other is kept untrimmed.
TWelcomeSettings LoadWelcomeSettings(const TIniFile& settings, const std::string& defaultURL);

// Writes section "Welcome" in key order; the package file is stored as the
// edit's file name. A write error stops at the failing key.
void SaveWelcomeSettings(TIniFile& settings, const TWelcomeSettings& values);

} // namespace wh
