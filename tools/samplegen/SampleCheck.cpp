// Checks a generated sample the way the client will use it: every file the
// catalogue names is there, opens as an archive and matches the size and
// time stamp the catalogue gives for it.
#include "LocalTime.h"
#include "ProfileReader.h"
#include "ZipReader.h"

#include <chrono>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using wh::sample::TProfileReader;
using wh::sample::TZipReader;

namespace {

int Failures = 0;

void Expect(bool condition, const std::string& what) {
    if (!condition) {
        ++Failures;
        std::cerr << "FAIL: " << what << "\n";
    }
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

std::uint32_t Le(const std::string& data, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(data.at(at + i));
    return value;
}

bool IsSmallBmp(const std::string& data) {
    return data.size() > 54 && data.compare(0, 2, "BM") == 0 && Le(data, 2, 4) == data.size() &&
           Le(data, 18, 4) == 64 && Le(data, 22, 4) == 64 && Le(data, 28, 2) == 24;
}

bool IsSafeName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos && name != "." && name != "..";
}

std::int32_t PackedNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return wh::sample::Packed(
        {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec});
}

long long Integer(const TProfileReader& profile, const std::string& section, const std::string& key) {
    const auto value = profile.Value(section, key);
    try {
        return value ? std::stoll(*value) : -1;
    } catch (const std::exception&) {
        return -1;
    }
}

void CheckLivery(const fs::path& folder, const TProfileReader& list, const std::string& section, int& pending) {
    const std::string where = folder.filename().string() + " " + section;
    for (const char* key : {"title",       "sim",           "model",       "panel",          "sound",
                            "texture",     "kb_checklists", "atc_airline", "atc_id",         "ui_manufacturer",
                            "ui_type",     "ui_variation",  "description", "wh_airline",     "wh_designer",
                            "wh_filename", "wh_model",      "wh_status",   "wh_archivesize", "wh_archivetimestamp",
                            "wh_inclusion"})
        Expect(list.Value(section, key).has_value(), where + " lacks " + key);

    const std::string status = list.Value(section, "wh_status").value_or("");
    Expect(status == "ok" || status == "pending", where + " has status '" + status + "'");
    pending += status == "pending";

    const std::string texture = list.Value(section, "texture").value_or("");
    if (!IsSafeName(texture)) {
        Expect(false, where + " has an unusable texture name '" + texture + "'");
        return;
    }
    const fs::path archive = folder / (texture + ".zip");
    if (!fs::is_regular_file(archive)) {
        Expect(false, archive.string() + " is missing");
        return;
    }
    Expect(static_cast<long long>(fs::file_size(archive)) == Integer(list, section, "wh_archivesize"),
           where + ": wh_archivesize differs from the size of " + archive.filename().string());
    const long long stamp = Integer(list, section, "wh_archivetimestamp");
    Expect(wh::sample::PackedFileAge(archive) == stamp, where + ": wh_archivetimestamp differs from the file's time");
    Expect(stamp > 0 && stamp < PackedNow(), where + ": wh_archivetimestamp is not in the past");

    const TZipReader zip(archive);
    const std::string prefix = "texture." + texture + "/";
    int pictures = 0;
    for (const auto& name : zip.Names()) {
        Expect(name.compare(0, prefix.size(), prefix) == 0, archive.string() + " holds " + name + " outside " + prefix);
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bmp") == 0) {
            ++pictures;
            Expect(IsSmallBmp(zip.Read(name)), archive.string() + ": " + name + " is no 64x64 24-bit BMP");
        }
    }
    Expect(pictures > 0, archive.string() + " holds no texture pictures");
}

void CheckPackage(const fs::path& source, const std::string& directory) {
    const fs::path folder = source / directory;
    if (!fs::is_regular_file(folder / "aircraft.lst")) {
        Expect(false, (folder / "aircraft.lst").string() + " is missing");
        return;
    }
    const TProfileReader list(ReadBytes(folder / "aircraft.lst"));

    const fs::path base = folder / "base.zip";
    if (fs::is_regular_file(base)) {
        const TZipReader zip(base);
        const TProfileReader cfg(zip.Read("aircraft.cfg"));
        Expect(cfg.HasSection("General"), base.string() + ": aircraft.cfg has no [General] section");
        Expect(wh::sample::PackedFileAge(base) == Integer(list, "Wingharbour", "wh_basetimestamp"),
               directory + ": wh_basetimestamp differs from the time of base.zip");
    } else {
        Expect(false, base.string() + " is missing");
    }

    int liveries = 0, pending = 0;
    while (list.HasSection("fltsim." + std::to_string(liveries))) {
        CheckLivery(folder, list, "fltsim." + std::to_string(liveries), pending);
        ++liveries;
    }
    Expect(liveries >= 4 && liveries <= 8, directory + " has " + std::to_string(liveries) + " liveries, not 4 to 8");
    Expect(pending < liveries, directory + " has no released livery");
    std::cout << directory << ": " << liveries << " liveries, " << pending << " pending\n";
}

// The simulator folder must hold at least one aircraft whose cfg names a
// livery that is really there, with the files an install leaves.
void CheckSimulator(const fs::path& simulator) {
    const fs::path aircraft = simulator / "aircraft";
    if (!fs::is_directory(aircraft)) {
        Expect(false, aircraft.string() + " is missing");
        return;
    }
    int placed = 0;
    for (const auto& entry : fs::directory_iterator(aircraft)) {
        const fs::path cfgPath = entry.path() / "aircraft.cfg";
        if (!fs::is_regular_file(cfgPath))
            continue;
        const TProfileReader cfg(ReadBytes(cfgPath));
        for (int n = 0; cfg.HasSection("fltsim." + std::to_string(n)); ++n) {
            const std::string texture = cfg.Value("fltsim." + std::to_string(n), "texture").value_or("");
            const fs::path folder = entry.path() / (texture.empty() ? "texture" : "texture." + texture);
            Expect(fs::is_regular_file(folder / "fuselage.bmp"), folder.string() + " lacks its pictures");
            placed += !texture.empty();
        }
    }
    Expect(placed > 0, "no livery is placed in " + aircraft.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: WingharbourSampleCheck <outdir>\n";
        return 2;
    }
    try {
        const fs::path source = fs::path(argv[1]) / "source";
        const TZipReader packagesZip(source / "packages.zip");
        Expect(packagesZip.Names() == std::vector<std::string>{"packages.lst"},
               "packages.zip should hold packages.lst alone, at its top level");
        const std::string packagesText = packagesZip.Read("packages.lst");
        Expect(fs::is_regular_file(source / "packages.lst") && ReadBytes(source / "packages.lst") == packagesText,
               "the loose packages.lst differs from the one in packages.zip");

        const TProfileReader packages(packagesText);
        int count = 0;
        for (; packages.HasSection("package." + std::to_string(count)); ++count) {
            const std::string directory = packages.Value("package." + std::to_string(count), "directory").value_or("");
            if (!IsSafeName(directory)) {
                Expect(false, "package." + std::to_string(count) + " has an unusable directory '" + directory + "'");
                continue;
            }
            CheckPackage(source, directory);
        }
        Expect(count >= 3 && count <= 4, "expected 3 or 4 packages, found " + std::to_string(count));
        CheckSimulator(fs::path(argv[1]) / "fs2002");
    } catch (const std::exception& e) {
        Expect(false, e.what());
    }
    if (Failures > 0) {
        std::cerr << Failures << " problem(s) found\n";
        return 1;
    }
    std::cout << "sample is complete\n";
    return 0;
}
