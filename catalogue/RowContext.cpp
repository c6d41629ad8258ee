#include "catalogue/RowContext.h"

#include "catalogue/AircraftState.h"
#include "catalogue/RowTexts.h"

namespace wh {

std::array<std::string, 8> RefreshedRowTexts(TWHAircraft& aircraft, const TWHRowContext& context,
                                             TPathSnapshot* snapshot) {
    UpdateAircraftState(aircraft, context.FSDir, context.WorkingDir, snapshot);
    return AircraftRowTexts(aircraft, context.ThousandsSeparator);
}

bool TWHRowContextBracket::Begin() {
    if (FDepth++ > 0)
        return false;
    FFixed = FSource();
    FSnapshot = std::make_unique<TPathSnapshot>();
    return true;
}

bool TWHRowContextBracket::End() {
    if (FDepth == 0 || --FDepth > 0)
        return false;
    FFixed.reset();
    FSnapshot.reset();
    return true;
}

} // namespace wh
