#include "platform/SystemError.h"

namespace wh {

int LastError() { return errno; }

} // namespace wh
