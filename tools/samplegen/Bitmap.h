#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wh::sample {

struct TRgb {
    std::uint8_t R = 0, G = 0, B = 0;
};

// Blends a towards b; amount 0 keeps a, 255 gives b.
TRgb Mix(TRgb a, TRgb b, int amount);
// Moves every channel by delta, clamped to 0..255.
TRgb Shade(TRgb c, int delta);

// A small RGB picture that can be saved as an uncompressed 24-bit BMP,
// the texture format the simulator reads.
class TBitmap {
public:
    TBitmap(int width, int height, TRgb fill = {});

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    TRgb Pixel(int x, int y) const;
    // Pixels outside the picture are ignored, so shapes may overlap the edges.
    void SetPixel(int x, int y, TRgb c);
    void FillRect(int x0, int y0, int x1, int y1, TRgb c); // x1, y1 exclusive
    void FillCircle(int cx, int cy, int radius, TRgb c);

    // The file's bytes: BITMAPFILEHEADER, BITMAPINFOHEADER, rows bottom-up in BGR.
    std::string EncodeBmp() const;

private:
    int FWidth;
    int FHeight;
    std::vector<TRgb> FPixels;
};

} // namespace wh::sample
