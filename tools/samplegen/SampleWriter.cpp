#include "SampleWriter.h"

#include "BaseFiles.h"
#include "CatalogueText.h"
#include "Collection.h"
#include "ZipWriter.h"

#include <fstream>
#include <stdexcept>

namespace wh::sample {

namespace fs = std::filesystem;

namespace {

const char* const MarkerName = ".wingharbour-sample";
const TLocalTime CatalogueTime{2026, 11, 1, 12, 0, 0};

void WriteBytes(const fs::path& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void PrepareOutput(const fs::path& outdir) {
    fs::create_directories(outdir);
    const bool ours = fs::exists(outdir / MarkerName);
    for (const char* folder : {"source", "fs2002"}) {
        if (!fs::exists(outdir / folder))
            continue;
        if (!ours)
            throw std::runtime_error((outdir / folder).string() +
                                     " exists and was not made by this generator; choose another folder");
        fs::remove_all(outdir / folder);
    }
    WriteBytes(outdir / MarkerName, "made by WingharbourSampleGen; source/ and fs2002/ are rewritten on every run\n");
}

// Unpacks entries the way an installer would, so the simulator folder looks installed.
void PlaceFiles(const fs::path& folder, const std::vector<TZipEntry>& entries) {
    for (const auto& entry : entries) {
        const fs::path target = folder / fs::path(entry.Name).relative_path();
        if (!entry.Name.empty() && entry.Name.back() == '/') {
            fs::create_directories(target);
        } else {
            fs::create_directories(target.parent_path());
            WriteBytes(target, entry.Data);
        }
    }
}

void WriteSource(const fs::path& source, const std::vector<TSamplePackage>& packages) {
    fs::create_directories(source);
    for (const auto& package : packages) {
        const fs::path folder = source / package.Directory;
        fs::create_directories(folder);

        WriteZip(folder / "base.zip", package.BaseTime, BaseFiles(package));
        SetLastWrite(folder / "base.zip", package.BaseTime);

        std::vector<TArchiveFacts> archives;
        for (const auto& livery : package.Liveries) {
            const fs::path archive = folder / (livery.Texture + ".zip");
            WriteZip(archive, livery.ArchiveTime, LiveryFiles(livery));
            SetLastWrite(archive, livery.ArchiveTime);
            archives.push_back({static_cast<std::int64_t>(fs::file_size(archive)), Packed(livery.ArchiveTime)});
        }
        WriteBytes(folder / "aircraft.lst", AircraftList(package, Packed(package.BaseTime), archives));
        SetLastWrite(folder / "aircraft.lst", CatalogueTime);
    }
    const std::string list = PackagesList(packages);
    // The loose copy is what the client's file picker points at; the client
    // itself reads the one inside packages.zip.
    WriteBytes(source / "packages.lst", list);
    SetLastWrite(source / "packages.lst", CatalogueTime);
    WriteZip(source / "packages.zip", CatalogueTime, {{"packages.lst", list}});
    SetLastWrite(source / "packages.zip", CatalogueTime);
}

std::string WriteSimulator(const fs::path& simulator, const fs::path& source,
                           const std::vector<TSamplePackage>& packages) {
    const fs::path aircraft = simulator / "aircraft";
    fs::create_directories(aircraft);
    std::string installed;
    for (const auto& package : packages) {
        if (package.InstalledLivery < 0)
            continue;
        const TSampleLivery& livery = package.Liveries.at(static_cast<std::size_t>(package.InstalledLivery));
        const fs::path folder = aircraft / package.Directory;
        PlaceFiles(folder, BaseFiles(package));
        PlaceFiles(folder, LiveryFiles(livery));
        // As an install leaves it: a blank line, then the catalogue's section
        // numbered after the default livery.
        const fs::path archive = source / package.Directory / (livery.Texture + ".zip");
        const TArchiveFacts facts{static_cast<std::int64_t>(fs::file_size(archive)), Packed(livery.ArchiveTime)};
        WriteBytes(folder / "aircraft.cfg",
                   BaseAircraftCfg(package) + "\r\n" + LiverySection("fltsim.1", package, livery, facts));
        installed = package.Directory + "\\" + livery.Texture;
    }
    return installed;
}

} // namespace

TSampleSummary WriteSample(const fs::path& outdir) {
    PrepareOutput(outdir);
    const std::vector<TSamplePackage> packages = MakeCollection();
    WriteSource(outdir / "source", packages);

    TSampleSummary summary;
    summary.InstalledLivery = WriteSimulator(outdir / "fs2002", outdir / "source", packages);
    summary.Packages = static_cast<int>(packages.size());
    for (const auto& package : packages)
        for (const auto& livery : package.Liveries) {
            ++summary.Liveries;
            if (livery.Status != "ok")
                ++summary.Pending;
        }
    return summary;
}

} // namespace wh::sample
