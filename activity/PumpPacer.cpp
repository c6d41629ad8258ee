#include "activity/PumpPacer.h"

namespace wh {

bool TPumpPacer::Due(TClock::time_point now) {
    if (FLast != TClock::time_point::min() && now - FLast < Interval)
        return false;
    FLast = now;
    return true;
}

} // namespace wh
