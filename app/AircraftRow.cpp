#include "app/AircraftRow.h"

#include "catalogue/RowFilter.h"
#include "platform/Codepage.h"

namespace wh {

TWHAircraftRow::TWHAircraftRow(std::unique_ptr<TWHAircraft> aircraft) : FAircraft(std::move(aircraft)) {
    setFlags(flags() | Qt::ItemIsUserCheckable);
    setCheckState(0, Qt::Unchecked);
}

void TWHAircraftRow::SetTexts(const std::array<std::string, 8>& texts) {
    for (std::size_t column = 0; column < texts.size(); ++column) {
        setText(static_cast<int>(column), QString::fromStdString(AnsiToUtf8(texts[column])));
        FFoldedTexts[column] = FoldFilterText(texts[column]);
    }
}

void TWHAircraftRow::SetFilteredOut(bool out) {
    if (out == FFilteredOut)
        return;
    FFilteredOut = out;
    setHidden(out);
}

} // namespace wh
