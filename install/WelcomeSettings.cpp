#include "install/WelcomeSettings.h"

#include "files/CommandLineSplit.h"
#include "platform/Codepage.h"
#include "profile/IniFiles.h"

namespace wh {

std::string DefaultSourceURL() { return WH_DEFAULT_SOURCE_URL; }

TWelcomeSettings LoadWelcomeSettings(const TIniFile& settings, const std::string& defaultURL) {
    TWelcomeSettings values;
    const bool localDir = settings.ReadBool(WelcomeSection, "rbLocalDir", false);
    values.PackageFile = settings.ReadString(WelcomeSection, "edPackageFile", "");
    values.URL = settings.ReadBool(WelcomeSection, "rbURL", true);
    values.LocalDir = localDir && !values.URL;
    values.URLText = settings.ReadString(WelcomeSection, "edURL", "");
    if (Trim(values.URLText).empty())
        values.URLText = defaultURL;
    values.FSDir = settings.ReadString(WelcomeSection, "FSDir", "");
    values.ZapFiles = settings.ReadBool(WelcomeSection, "cbZapFiles", true);
    values.FakeManufacturer = settings.ReadBool(WelcomeSection, "cbFakeManufacturer", false);
    return values;
}

void SaveWelcomeSettings(TIniFile& settings, const TWelcomeSettings& values) {
    settings.WriteBool(WelcomeSection, "rbLocalDir", values.LocalDir);
    settings.WriteString(WelcomeSection, "edPackageFile", EditFileName(values.PackageFile));
    settings.WriteBool(WelcomeSection, "rbURL", values.URL);
    settings.WriteString(WelcomeSection, "edURL", values.URLText);
    settings.WriteString(WelcomeSection, "FSDir", values.FSDir);
    settings.WriteBool(WelcomeSection, "cbZapFiles", values.ZapFiles);
    settings.WriteBool(WelcomeSection, "cbFakeManufacturer", values.FakeManufacturer);
}

} // namespace wh
