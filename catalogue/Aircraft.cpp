#include "catalogue/Aircraft.h"

namespace wh {

const char* StateText(TWHAircraftState state) {
    switch (state) {
    case asNew:
        return "new";
    case asUpdated:
        return "updated";
    case asNone:
        break;
    }
    return "";
}

} // namespace wh
