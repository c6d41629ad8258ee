#include "platform/Errors.h"

#include "platform/Paths.h"

namespace wh {

void RaiseOpenError(const std::string& path, const std::string& reason) {
    throw EFOpenError("Cannot open file \"" + NativePath(path) + "\". " + reason);
}

} // namespace wh
