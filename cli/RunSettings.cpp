#include "cli/RunSettings.h"

#include <filesystem>

#include "cli/CommandLineOptions.h"
#include "install/WelcomeValidation.h"
#include "platform/Codepage.h"
#include "platform/Paths.h"
#include "platform/UserFolders.h"

namespace wh {

namespace {

constexpr const char* ClientProgramName = "WingharbourClient";

std::string AbsoluteAnsi(const std::string& utf8Path) {
    return Utf8ToAnsi(std::filesystem::absolute(std::filesystem::path(utf8Path)).string());
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

} // namespace

std::string ClientSettingsPath() {
    return ProgramFiles(ExtractFilePath(ExecutablePath()) + ClientProgramName).Settings;
}

TWelcomeSettings RunSettings(const TWelcomeSettings& stored, const TCliOptions& options) {
    TWelcomeSettings settings = stored;
    if (options.URL) {
        settings.URL = true;
        settings.LocalDir = false;
        settings.URLText = Utf8ToAnsi(*options.URL);
    }
    if (options.PackageFile) {
        settings.LocalDir = true;
        settings.URL = false;
        settings.PackageFile = AbsoluteAnsi(*options.PackageFile);
    }
    if (options.FSDir)
        settings.FSDir = AbsoluteAnsi(*options.FSDir);
    settings.ZapFiles = options.ZapFiles.value_or(settings.ZapFiles);
    settings.FakeManufacturer = options.FakeManufacturer.value_or(settings.FakeManufacturer);
    return settings;
}

std::string RunSettingsProblem(const TWelcomeSettings& settings) {
    if (!LocalSourceValid(settings) && !URLSourceValid(settings)) {
        if (settings.LocalDir)
            return "the package file " + Quoted(settings.PackageFile) +
                   " does not exist; give --local PACKAGES_LST or --url URL";
        if (settings.URL)
            return Quoted(settings.URLText) + " is no http, https or file URL; give --url URL or --local PACKAGES_LST";
        return "the settings choose no source; give --url URL or --local PACKAGES_LST";
    }
    if (!FSDirValid(settings.FSDir)) {
        if (Trim(settings.FSDir).empty())
            return "the settings name no simulator folder; give --fs DIR";
        return Quoted(settings.FSDir) + " is no simulator folder: it holds no aircraft folder; give --fs DIR";
    }
    return "";
}

} // namespace wh
