#pragma once

namespace wh {

struct TRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TRect&) const = default;
};

// The activity indicator: a block that moves one pixel to the right inside a
// frame at every step and jumps back to the frame's left edge at its right
// edge. Coordinates are those of a status panel of DesignPanelWidth pixels;
// the window shifts them so that both stay anchored to the panel's right end.
class TProgressBlock {
public:
    static constexpr int DesignPanelWidth = 552;
    static constexpr TRect InitialFrame{454, 2, 95, 16};
    static constexpr TRect InitialBlock{539, 3, 10, 14};

    const TRect& Frame() const { return FFrame; }
    const TRect& Block() const { return FBlock; }

    void Step();

private:
    TRect FFrame = InitialFrame;
    TRect FBlock = InitialBlock;
};

} // namespace wh
