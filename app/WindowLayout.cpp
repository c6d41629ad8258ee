#include "app/WindowLayout.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

#include "profile/IniFiles.h"

namespace wh {

namespace {

// X11 keeps window coordinates and sizes in 16 bits.
constexpr int MaxExtent = 32767;
// How much of the window's top must lie on one screen to be grabbed and moved.
constexpr int GripWidth = 100;
constexpr int GripHeight = 20;

std::optional<int> Number(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::vector<int>> Numbers(std::string_view text) {
    std::vector<int> values;
    for (std::size_t start = 0;;) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const auto value = Number(text.substr(start, comma - start));
        if (!value)
            return std::nullopt;
        values.push_back(*value);
        if (comma == text.size())
            return values;
        start = comma + 1;
    }
}

std::string Joined(const std::vector<int>& values) {
    std::string text;
    for (int value : values)
        text += (text.empty() ? "" : ",") + std::to_string(value);
    return text;
}

bool IsOrder(std::vector<int> order, int count) {
    std::sort(order.begin(), order.end());
    for (int i = 0; i < static_cast<int>(order.size()); ++i)
        if (order[i] != i)
            return false;
    return static_cast<int>(order.size()) == count;
}

bool OnAScreen(const TWindowLayout& layout, const std::vector<TScreenArea>& screens) {
    return std::any_of(screens.begin(), screens.end(), [&](const TScreenArea& s) {
        const long left = std::max<long>(layout.Left, s.Left);
        const long right =
            std::min<long>(static_cast<long>(layout.Left) + layout.Width, static_cast<long>(s.Left) + s.Width);
        const long top = std::max<long>(layout.Top, s.Top);
        const long bottom =
            std::min<long>(static_cast<long>(layout.Top) + GripHeight, static_cast<long>(s.Top) + s.Height);
        return right - left >= GripWidth && bottom - top >= GripHeight;
    });
}

bool Fits(const TWindowLayout& layout, const TLayoutLimits& limits) {
    const auto within = [](int value, int low) { return value >= low && value <= MaxExtent; };
    return within(layout.Left, -MaxExtent) && within(layout.Top, -MaxExtent) && within(layout.Width, limits.MinWidth) &&
           within(layout.Height, limits.MinHeight) &&
           static_cast<int>(layout.ColumnWidths.size()) == limits.ColumnCount &&
           std::all_of(layout.ColumnWidths.begin(), layout.ColumnWidths.end(),
                       [&](int width) { return within(width, 1); }) &&
           IsOrder(layout.ColumnOrder, limits.ColumnCount) && OnAScreen(layout, limits.Screens);
}

} // namespace

std::optional<TWindowLayout> ReadWindowLayout(const TIniFile& settings, const TLayoutLimits& limits) {
    const auto read = [&](const char* key) { return settings.ReadString(WindowLayoutSection, key, ""); };
    const auto left = Number(read("Left")), top = Number(read("Top")), width = Number(read("Width")),
               height = Number(read("Height")), maximized = Number(read("Maximized"));
    const auto widths = Numbers(read("ColumnWidths")), order = Numbers(read("ColumnOrder"));
    if (!left || !top || !width || !height || !maximized || (*maximized != 0 && *maximized != 1) || !widths || !order)
        return std::nullopt;
    TWindowLayout layout{*left, *top, *width, *height, *maximized == 1, *widths, *order};
    if (!Fits(layout, limits))
        return std::nullopt;
    return layout;
}

void WriteWindowLayout(TIniFile& settings, const TWindowLayout& layout) {
    const auto write = [&](const char* key, const std::string& value) {
        settings.WriteString(WindowLayoutSection, key, value);
    };
    write("Left", std::to_string(layout.Left));
    write("Top", std::to_string(layout.Top));
    write("Width", std::to_string(layout.Width));
    write("Height", std::to_string(layout.Height));
    settings.WriteBool(WindowLayoutSection, "Maximized", layout.Maximized);
    write("ColumnWidths", Joined(layout.ColumnWidths));
    write("ColumnOrder", Joined(layout.ColumnOrder));
}

} // namespace wh
