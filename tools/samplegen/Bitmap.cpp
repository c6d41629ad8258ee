#include "Bitmap.h"

#include <algorithm>
#include <stdexcept>

namespace wh::sample {

namespace {

std::uint8_t Clamp(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

TRgb Mix(TRgb a, TRgb b, int amount) {
    auto channel = [amount](int x, int y) { return Clamp(x + (y - x) * amount / 255); };
    return {channel(a.R, b.R), channel(a.G, b.G), channel(a.B, b.B)};
}

TRgb Shade(TRgb c, int delta) { return {Clamp(c.R + delta), Clamp(c.G + delta), Clamp(c.B + delta)}; }

TBitmap::TBitmap(int width, int height, TRgb fill) : FWidth(width), FHeight(height) {
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a bitmap needs a positive size");
    FPixels.assign(static_cast<std::size_t>(width) * height, fill);
}

TRgb TBitmap::Pixel(int x, int y) const { return FPixels.at(static_cast<std::size_t>(y) * FWidth + x); }

void TBitmap::SetPixel(int x, int y, TRgb c) {
    if (x >= 0 && y >= 0 && x < FWidth && y < FHeight)
        FPixels[static_cast<std::size_t>(y) * FWidth + x] = c;
}

void TBitmap::FillRect(int x0, int y0, int x1, int y1, TRgb c) {
    for (int y = std::max(y0, 0); y < std::min(y1, FHeight); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, FWidth); ++x)
            FPixels[static_cast<std::size_t>(y) * FWidth + x] = c;
}

void TBitmap::FillCircle(int cx, int cy, int radius, TRgb c) {
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                SetPixel(x, y, c);
}

std::string TBitmap::EncodeBmp() const {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(FWidth) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(FHeight);
    const std::uint32_t headerBytes = 14 + 40;
    std::string out;
    out.reserve(headerBytes + imageBytes);
    out += "BM";
    PutLe(out, headerBytes + imageBytes, 4);
    PutLe(out, 0, 4);           // reserved
    PutLe(out, headerBytes, 4); // offset of the pixels
    PutLe(out, 40, 4);          // info header size
    PutLe(out, static_cast<std::uint32_t>(FWidth), 4);
    PutLe(out, static_cast<std::uint32_t>(FHeight), 4); // positive: rows bottom-up
    PutLe(out, 1, 2);                                   // planes
    PutLe(out, 24, 2);                                  // bits per pixel
    PutLe(out, 0, 4);                                   // BI_RGB
    PutLe(out, imageBytes, 4);
    PutLe(out, 2835, 4); // 72 dpi
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = FHeight - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < FWidth; ++x) {
            const TRgb c = Pixel(x, y);
            out.push_back(static_cast<char>(c.B));
            out.push_back(static_cast<char>(c.G));
            out.push_back(static_cast<char>(c.R));
            written += 3;
        }
        out.append(rowBytes - written, '\0');
    }
    return out;
}

} // namespace wh::sample
