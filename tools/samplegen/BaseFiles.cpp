#include "BaseFiles.h"

#include "LiveryArt.h"
#include "ProfileText.h"

#include <cmath>
#include <numbers>
#include <random>

namespace wh::sample {

namespace {

const TLiveryColours HouseColours{{250, 250, 250}, {0, 110, 120}, {20, 40, 70}};

std::string Placeholder(const std::string& label, std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::string data = label + "\r\n";
    while (data.size() < size)
        data.push_back(static_cast<char>(rng() & 0xFF));
    return data;
}

std::uint32_t SeedOf(const std::string& text) {
    std::uint32_t hash = 2166136261u; // FNV-1a: stable across runs and compilers
    for (unsigned char c : text)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

// A short engine hum: 8-bit mono PCM at 8 kHz.
std::string EngineWav(double pitch) {
    const std::uint32_t rate = 8000, samples = 2000;
    std::string pcm;
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double v =
            0.6 * std::sin(2 * std::numbers::pi * pitch * t) + 0.3 * std::sin(2 * std::numbers::pi * pitch * 2.01 * t);
        pcm.push_back(static_cast<char>(128 + static_cast<int>(std::lround(v * 80))));
    }
    auto le = [](std::uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        return out;
    };
    return "RIFF" + le(36 + samples, 4) + "WAVE" + "fmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(rate, 4) +
           le(rate, 4) + le(1, 2) + le(8, 2) + "data" + le(samples, 4) + pcm;
}

std::vector<TZipEntry> TextureFolder(const std::string& folder, const TLiveryColours& colours, std::uint32_t seed) {
    std::vector<TZipEntry> entries{{folder + "/", ""}};
    for (auto& file : PaintLivery(colours, seed))
        entries.push_back({folder + "/" + file.Name, file.Picture.EncodeBmp()});
    return entries;
}

} // namespace

std::string BaseAircraftCfg(const TSamplePackage& p) {
    TProfileText cfg;
    cfg.Section("fltsim.0")
        .Key("title", p.Manufacturer + " " + p.UIType + " Wingharbour house colours")
        .Key("sim", p.Directory)
        .Key("model", "")
        .Key("panel", "")
        .Key("sound", "")
        .Key("texture", "")
        .Key("kb_checklists", p.Directory + "_check")
        .Key("kb_reference", p.Directory + "_ref")
        .Key("atc_id", "WH" + p.AtcModel)
        .Key("ui_manufacturer", p.Manufacturer)
        .Key("ui_type", p.UIType)
        .Key("ui_variation", "Wingharbour house colours")
        .Key("description", "The " + p.UIType + " in the collection's own white and teal.");
    cfg.Section("General")
        .Key("atc_type", p.AtcType)
        .Key("atc_model", p.AtcModel)
        .Key("editable", "1")
        .Key("performance", "Cruise speed 440 kts, range 2,700 nm (sample values)");
    cfg.Section("WEIGHT_AND_BALANCE")
        .Key("reference_datum_position", "0.0, 0.0, 0.0")
        .Key("empty_weight_CG_position", "-2.0, 0.0, 0.0");
    cfg.Section("Views").Key("eyepoint", "38.5, -1.6, 4.9");
    return cfg.Text();
}

std::vector<TZipEntry> BaseFiles(const TSamplePackage& p) {
    const std::uint32_t seed = SeedOf(p.Directory);
    TProfileText modelCfg;
    modelCfg.Section("models").Key("normal", p.Directory);
    TProfileText panelCfg;
    panelCfg.Section("Window Titles").Key("Window00", "Main Panel");
    panelCfg.Section("Window00").Key("file", "panel.bmp").Key("size_mm", "1024");
    TProfileText soundCfg;
    soundCfg.Section("SOUND_ENGINE").Key("file", "engine").Key("minimum_volume", "6000");

    std::vector<TZipEntry> entries = {
        {"aircraft.cfg", BaseAircraftCfg(p)},
        {p.Directory + ".air", Placeholder("flight model placeholder of the sample " + p.UIType, 1536, seed)},
        {"model/", ""},
        {"model/model.cfg", modelCfg.Text()},
        {"model/" + p.Directory + ".mdl", Placeholder("model placeholder of the sample " + p.UIType, 4096, seed + 1)},
        {"panel/", ""},
        {"panel/panel.cfg", panelCfg.Text()},
        {"sound/", ""},
        {"sound/sound.cfg", soundCfg.Text()},
        {"sound/engine.wav", EngineWav(90.0 + seed % 40)},
    };
    for (auto& entry : TextureFolder("texture", HouseColours, seed + 2))
        entries.push_back(std::move(entry));
    return entries;
}

std::vector<TZipEntry> LiveryFiles(const TSampleLivery& livery) {
    return TextureFolder("texture." + livery.Texture, livery.Colours, livery.ArtSeed);
}

} // namespace wh::sample
