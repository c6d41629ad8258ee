#include "cli/CatalogueRows.h"

#include "catalogue/RowFilter.h"

namespace wh {

void TCatalogueRows::Add(std::unique_ptr<TWHAircraft> aircraft) {
    FRows.push_back({std::move(aircraft), {}, {}, false, true});
    Refresh(FRows.back(), FSnapshot.get());
}

void TCatalogueRows::RefreshRow(int index) { Refresh(FRows[index], nullptr); }

void TCatalogueRows::Refresh(TRow& row, TPathSnapshot* snapshot) {
    row.Texts = RefreshedRowTexts(*row.Aircraft, FContext, snapshot);
    row.Folded = FoldRowTexts(row.Texts);
    Judge(row);
}

void TCatalogueRows::SetFilter(std::optional<std::string> needle) {
    FNeedle = std::move(needle);
    for (TRow& row : FRows)
        Judge(row);
}

void TCatalogueRows::Judge(TRow& row) const { row.Shown = FNeedle && RowMatchesFilter(row.Folded, *FNeedle); }

void TCatalogueRows::Sort(const TWHSortOrder& order, const TWHCollator& collator) {
    if (order.Column < 0)
        return;
    std::vector<std::string> texts;
    texts.reserve(FRows.size());
    for (const TRow& row : FRows)
        texts.push_back(row.Texts[order.Column]);
    std::vector<TRow> sorted;
    sorted.reserve(FRows.size());
    for (int index : SortedRowOrder(texts, order, collator))
        sorted.push_back(std::move(FRows[index]));
    FRows = std::move(sorted);
}

} // namespace wh
