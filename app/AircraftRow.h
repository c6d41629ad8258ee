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
    ~TWHAircraftRow() override;

    TWHAircraft& Aircraft() const { return *FAircraft; }

    // The caption and the seven sub-items, Windows-1252.
    void SetTexts(const std::array<std::string, 8>& texts);

private:
    std::unique_ptr<TWHAircraft> FAircraft;
};

} // namespace wh
