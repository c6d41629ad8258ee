#include "LiveryArt.h"

#include <random>

namespace wh::sample {

namespace {

const TRgb Window{30, 36, 48};
const TRgb Belly{214, 218, 222};
const TRgb Metal{168, 172, 178};

// A little grain so the textures do not look flat; fixed per livery.
void AddGrain(TBitmap& picture, std::mt19937& rng) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y, Shade(picture.Pixel(x, y), static_cast<int>(rng() % 7) - 3));
}

TBitmap Fuselage(const TLiveryColours& c) {
    TBitmap p(TextureSize, TextureSize, c.Primary);
    p.FillRect(0, 34, TextureSize, 42, c.Secondary); // cheat line
    p.FillRect(0, 42, TextureSize, 44, c.Accent);
    p.FillRect(0, 44, TextureSize, TextureSize, Belly);
    for (int x = 2; x < TextureSize; x += 5) // cabin windows
        p.FillRect(x, 26, x + 3, 30, Window);
    p.FillRect(0, 22, 6, 32, Window); // cockpit
    return p;
}

TBitmap Tail(const TLiveryColours& c) {
    TBitmap p(TextureSize, TextureSize, c.Primary);
    for (int y = 0; y < TextureSize; ++y) // diagonal sweep
        for (int x = 0; x < TextureSize; ++x)
            if (x + y > TextureSize + 8)
                p.SetPixel(x, y, Mix(c.Primary, c.Secondary, 220));
    p.FillCircle(TextureSize / 2, TextureSize / 2 - 4, 13, c.Accent);
    p.FillCircle(TextureSize / 2, TextureSize / 2 - 4, 7, c.Primary);
    return p;
}

TBitmap Wing(const TLiveryColours& c) {
    TBitmap p(TextureSize, TextureSize, Metal);
    for (int x = 15; x < TextureSize; x += 16) // panel lines
        p.FillRect(x, 0, x + 1, TextureSize, Shade(Metal, -40));
    p.FillRect(0, 31, TextureSize, 32, Shade(Metal, -40));
    p.FillRect(56, 0, TextureSize, TextureSize, c.Accent); // wing tip
    p.FillRect(52, 0, 56, TextureSize, c.Secondary);
    return p;
}

} // namespace

std::vector<TTextureFile> PaintLivery(const TLiveryColours& colours, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<TTextureFile> files = {
        {"fuselage.bmp", Fuselage(colours)},
        {"tail.bmp", Tail(colours)},
        {"wing.bmp", Wing(colours)},
    };
    for (auto& file : files)
        AddGrain(file.Picture, rng);
    return files;
}

} // namespace wh::sample
