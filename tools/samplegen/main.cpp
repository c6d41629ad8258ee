#include "SampleWriter.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "WingharbourSampleGen") << " <outdir>\n"
                  << "Writes <outdir>/source (a made-up livery collection) and <outdir>/fs2002 (a simulator folder).\n";
        return 2;
    }
    try {
        const std::filesystem::path outdir = std::filesystem::absolute(argv[1]);
        const auto summary = wh::sample::WriteSample(outdir);
        std::cout << "Sample collection: " << summary.Packages << " packages, " << summary.Liveries << " liveries ("
                  << summary.Pending << " pending) in " << (outdir / "source").string() << "\n"
                  << "Simulator folder: " << (outdir / "fs2002").string() << " (installed: " << summary.InstalledLivery
                  << ")\n";
    } catch (const std::exception& e) {
        std::cerr << "WingharbourSampleGen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
