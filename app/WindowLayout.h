#pragma once

#include <optional>
#include <vector>

namespace wh {

class TIniFile;

// The main window's place and size and the list's columns, kept in the
// settings file in a section of their own beside "Welcome".
struct TWindowLayout {
    int Left = 0;
    int Top = 0;
    int Width = 0; // the normal (not maximized) size, inside the frame
    int Height = 0;
    bool Maximized = false;
    std::vector<int> ColumnWidths; // by column
    std::vector<int> ColumnOrder;  // the columns from left to right
    bool operator==(const TWindowLayout&) const = default;
};

struct TScreenArea {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// What a stored layout must fit to be used.
struct TLayoutLimits {
    int MinWidth = 0;
    int MinHeight = 0;
    int ColumnCount = 0;
    std::vector<TScreenArea> Screens; // their available areas
};

inline constexpr const char* WindowLayoutSection = "fmWingharbourClientMain";

// The stored layout when it is whole and fits: numbers throughout, the size
// at least the minimum and within what a window system can place, a width
// for each column and an order naming each column once, and the window's top
// on one of the screens, so that it can be grabbed. Anything else (the first
// start, a damaged entry, a screen gone) gives nothing: the window opens as
// on a first start.
std::optional<TWindowLayout> ReadWindowLayout(const TIniFile& settings, const TLayoutLimits& limits);

// A write error stops at the failing key.
void WriteWindowLayout(TIniFile& settings, const TWindowLayout& layout);

} // namespace wh
