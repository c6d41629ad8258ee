#pragma once

namespace wh {

// Whether another program holds the open file open: the closest this system
// comes to opening it for exclusive access. File systems without leases
// answer no.
bool InUseByOthers(int fd);

} // namespace wh
