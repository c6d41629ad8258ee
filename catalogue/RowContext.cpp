#include "catalogue/RowContext.h"

#include "catalogue/AircraftState.h"
#include "catalogue/RowTexts.h"

namespace wh {

std::array<std::string, 8> RefreshedRowTexts(TWHAircraft& aircraft, const TWHRowContext& context) {
    UpdateAircraftState(aircraft, context.FSDir, context.WorkingDir);
    return AircraftRowTexts(aircraft, context.ThousandsSeparator);
}

bool TWHRowContextBracket::Begin() {
    if (FDepth++ > 0)
        return false;
    FFixed = FSource();
    return true;
}

bool TWHRowContextBracket::End() {
    if (FDepth == 0 || --FDepth > 0)
        return false;
    FFixed.reset();
    return true;
}

} // namespace wh
