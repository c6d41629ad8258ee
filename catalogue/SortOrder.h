#pragma once

#include <string>
#include <vector>

namespace wh {

// The locale's comparison of two texts (Windows-1252), letter case ignored:
// -1, 0 or +1. The window passes in its own.
class TWHCollator {
public:
    virtual int Compare(const std::string& text1, const std::string& text2) const = 0;

protected:
    ~TWHCollator() = default;
};

// The list's sort column and direction. Column -1 is no order: every row
// compares equal. Column 0 is the caption (Livery), column N sub-item N - 1.
struct TWHSortOrder {
    int Column = -1;
    bool Descending = false;

    // A header click: the same column flips the direction, another column
    // keeps the direction last used.
    void ClickColumn(int column);
    // What a catalogue load leaves: Livery ascending.
    void Reset();
};

// The list's comparison of two rows by their texts in the sort column:
// negative puts the first row first. Every column compares as text, Size
// included; ties are not broken by another column.
int CompareRowTexts(const TWHSortOrder& order, const TWHCollator& collator, const std::string& text1,
                    const std::string& text2);

// The rows' order after a sort, given each row's text in the sort column in
// the current order: element k is the current index of the row to show at k.
// Rows that compare equal keep their order.
std::vector<int> SortedRowOrder(const std::vector<std::string>& columnTexts, const TWHSortOrder& order,
                                const TWHCollator& collator);

} // namespace wh
