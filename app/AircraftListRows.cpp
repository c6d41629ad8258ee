#include "app/AircraftListRows.h"

#include "app/AircraftListModel.h"

namespace wh {

int TAircraftListRows::RowCount() const { return FModel.RecordCount(); }

TWHAircraft& TAircraftListRows::RowAircraft(int index) const { return FModel.Record(index); }

bool TAircraftListRows::RowChecked(int index) const { return FModel.Checked(index); }

void TAircraftListRows::SetRowChecked(int index, bool checked) { FModel.SetChecked(index, checked); }

void TAircraftListRows::RefreshRow(int index) { FRefresh(index); }

bool TAircraftListRows::RowShown(int index) const { return FModel.Shown(index); }

void TAircraftListRows::BeginRowChanges() { FModel.BeginChanges(); }

void TAircraftListRows::EndRowChanges() { FModel.EndChanges(); }

bool TAircraftListRows::ChangesBracketed() const { return FModel.ChangesBracketed(); }

} // namespace wh
