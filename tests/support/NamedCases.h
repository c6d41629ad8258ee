#pragma once

#include <ostream>

namespace wh::test {

// Table cases with a Name print as that name in test listings and failures,
// not as a dump of their bytes. A test file brings it into the cases'
// namespace with `using wh::test::PrintTo;`.
template <typename T>
requires requires(const T& c) { c.Name; }
void PrintTo(const T& c, std::ostream* os) { *os << c.Name; }

} // namespace wh::test
