#include "catalogue/SortOrder.h"

#include <algorithm>
#include <numeric>

namespace wh {

void TWHSortOrder::ClickColumn(int column) {
    if (column == Column)
        Descending = !Descending;
    else
        Column = column;
}

void TWHSortOrder::Reset() {
    Column = 0;
    Descending = false;
}

int CompareRowTexts(const TWHSortOrder& order, const TWHCollator& collator, const std::string& text1,
                    const std::string& text2) {
    if (order.Column < 0)
        return 0;
    const int result = collator.Compare(text1, text2);
    return order.Descending ? -result : result;
}

std::vector<int> SortedRowOrder(const std::vector<std::string>& columnTexts, const TWHSortOrder& order,
                                const TWHCollator& collator) {
    std::vector<int> rows(columnTexts.size());
    std::iota(rows.begin(), rows.end(), 0);
    if (order.Column < 0)
        return rows;
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        return CompareRowTexts(order, collator, columnTexts[a], columnTexts[b]) < 0;
    });
    return rows;
}

} // namespace wh
