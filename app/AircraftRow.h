#pragma once

#include <array>
#include <memory>
#include <string>

#include <QTreeWidgetItem>

#include "catalogue/Aircraft.h"

namespace wh {

// One row of the aircraft list. It owns the record it shows; deleting the
// row frees the record.
class TWHAircraftRow : public QTreeWidgetItem {
public:
    explicit TWHAircraftRow(std::unique_ptr<TWHAircraft> aircraft);

    TWHAircraft& Aircraft() const { return *FAircraft; }

    // The caption and the seven sub-items, Windows-1252. The filter's folded
    // copies are made here, once per change, not at every keystroke.
    void SetTexts(const std::array<std::string, 8>& texts);
    const std::array<std::string, 8>& FoldedTexts() const { return FFoldedTexts; }

    // Whether the list's filter hides the row; set with the row's visibility.
    bool FilteredOut() const { return FFilteredOut; }
    void SetFilteredOut(bool out);

    // The list's own sort puts rows in the order of their ranks; the rank is
    // the row's place in an order worked out beforehand.
    void SetSortRank(int rank) { FSortRank = rank; }
    bool operator<(const QTreeWidgetItem& other) const override {
        return FSortRank < static_cast<const TWHAircraftRow&>(other).FSortRank;
    }

private:
    std::unique_ptr<TWHAircraft> FAircraft;
    std::array<std::string, 8> FFoldedTexts;
    int FSortRank = 0;
    bool FFilteredOut = false;
};

} // namespace wh
