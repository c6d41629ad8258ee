#include "archive/UnzipVersionReport.h"

namespace wh {

namespace {

std::string Label(const std::string& name) {
    std::string label = name;
    if (label.size() < 13)
        label.resize(13, ' ');
    return label + ": ";
}

std::string Version(const UzpVer2& v) { return std::to_string(v.major) + "." + std::to_string(v.minor); }

std::string Text(const char* text) { return text ? text : ""; }

} // namespace

std::vector<std::string> UnzipVersionReport(const UzpVer& version) {
    return {
        Label("Flag") + std::to_string(version.flag) + " [1: is_beta, ?: uses_zlib]",
        Label("BetaLevel") + Text(version.betalevel),
        Label("Date") + Text(version.date),
        Label("ZLib_Version") + Text(version.zlib_version),
        Label("UnZip") + Version(version.unzip),
        Label("WinDll") + Version(version.windll),
    };
}

} // namespace wh
