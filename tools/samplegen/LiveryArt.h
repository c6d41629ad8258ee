#pragma once

#include "Bitmap.h"
#include "Collection.h"

#include <string>
#include <vector>

namespace wh::sample {

struct TTextureFile {
    std::string Name; // file name inside the texture folder
    TBitmap Picture;
};

inline constexpr int TextureSize = 64;

// The paint of one livery: fuselage, tail and wing, drawn in its colours.
std::vector<TTextureFile> PaintLivery(const TLiveryColours& colours, std::uint32_t seed);

} // namespace wh::sample
