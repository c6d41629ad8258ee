#include "activity/OperationProgress.h"

namespace wh {

namespace {

class TNoOperationProgress final : public TWHOperationProgress {};

} // namespace

TWHOperationProgress& NoOperationProgress() {
    static TNoOperationProgress none;
    return none;
}

} // namespace wh
