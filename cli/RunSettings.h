#pragma once

#include <string>

#include "fetch/SourceSettings.h"
#include "install/WelcomeSettings.h"

namespace wh {

struct TCliOptions;

// The settings file of the client installed beside this program, by the
// client's own folder rules: beside the programs while their folder is
// writable, else in the user's config folder.
std::string ClientSettingsPath();

// The stored Welcome settings with the command line's overrides, for this
// run only. Paths given on the command line are made absolute.
TWelcomeSettings RunSettings(const TWelcomeSettings& stored, const TCliOptions& options);

// Why the window's Next would stay disabled for these settings, naming the
// option that mends it; empty when they are valid.
std::string RunSettingsProblem(const TWelcomeSettings& settings);

// The Welcome page's source controls as the settings fill them.
class TSettingsSource final : public TWHSourceSettings {
public:
    explicit TSettingsSource(TWelcomeSettings settings) : FSettings(std::move(settings)) {}
    bool LocalDirSelected() const override { return FSettings.LocalDir; }
    std::string PackageFileText() const override { return FSettings.PackageFile; }
    bool URLSelected() const override { return FSettings.URL; }
    std::string URLText() const override { return FSettings.URLText; }

private:
    TWelcomeSettings FSettings;
};

} // namespace wh
