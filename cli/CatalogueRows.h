#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/AircraftList.h"
#include "catalogue/AircraftRows.h"
#include "catalogue/RowContext.h"
#include "catalogue/SortOrder.h"

namespace wh {

// The catalogue's rows without a window: the list the reader fills, and the
// rows the selection, the installer and the deinstaller walk. Each row owns
// its record, its texts and its tick.
class TCatalogueRows final : public TWHAircraftList, public TWHAircraftRows {
public:
    explicit TCatalogueRows(TWHRowContext context) : FContext(std::move(context)) {}

    // A load's rows look their files up in one snapshot.
    void BeginUpdate() override { FSnapshot = std::make_unique<TPathSnapshot>(); }
    void EndUpdate() override { FSnapshot.reset(); }
    void Clear() override { FRows.clear(); }
    void Add(std::unique_ptr<TWHAircraft> aircraft) override;

    int RowCount() const override { return static_cast<int>(FRows.size()); }
    TWHAircraft& RowAircraft(int index) const override { return *FRows[index].Aircraft; }
    bool RowChecked(int index) const override { return FRows[index].Checked; }
    void SetRowChecked(int index, bool checked) override { FRows[index].Checked = checked; }
    bool RowShown(int index) const override { return FRows[index].Shown; }
    void RefreshRow(int index) override;

    // The caption and sub-items as the list shows them.
    const std::array<std::string, 8>& RowTexts(int index) const { return FRows[index].Texts; }
    // The filter's folded text (catalogue/RowFilter.h); none hides every row.
    void SetFilter(std::optional<std::string> needle);
    // The rows in that order by the collator, as the list sorts them.
    void Sort(const TWHSortOrder& order, const TWHCollator& collator);

private:
    struct TRow {
        std::unique_ptr<TWHAircraft> Aircraft;
        std::array<std::string, 8> Texts;
        std::string Folded; // FoldRowTexts
        bool Checked = false;
        bool Shown = true;
    };
    void Judge(TRow& row) const;
    void Refresh(TRow& row, TPathSnapshot* snapshot);

    TWHRowContext FContext;
    std::unique_ptr<TPathSnapshot> FSnapshot;
    std::optional<std::string> FNeedle{std::string()};
    std::vector<TRow> FRows;
};

} // namespace wh
