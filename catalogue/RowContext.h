#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "catalogue/Aircraft.h"

namespace wh {

// What every row is judged against: the simulator folder, the working
// directory and the thousands separator of the Size column.
struct TWHRowContext {
    std::string FSDir;
    std::string WorkingDir;
    std::string ThousandsSeparator;
};

// RefreshAircraftRow without the widget: the record's state worked out anew,
// then the caption and sub-items to show for it.
std::array<std::string, 8> RefreshedRowTexts(TWHAircraft& aircraft, const TWHRowContext& context);

// The list's update bracket. While it is open the context is read once, when
// the outermost bracket opens, so that 10,000 rows of a load do not work it
// out 10,000 times; outside a bracket each row reads it afresh.
class TWHRowContextBracket {
public:
    using TSource = std::function<TWHRowContext()>;
    explicit TWHRowContextBracket(TSource source) : FSource(std::move(source)) {}

    // True when this call opened the outermost bracket.
    bool Begin();
    // True when this call closed the outermost bracket; an End without a
    // Begin does nothing.
    bool End();
    bool IsOpen() const { return FDepth > 0; }
    TWHRowContext Context() const { return FFixed ? *FFixed : FSource(); }

private:
    TSource FSource;
    int FDepth = 0;
    std::optional<TWHRowContext> FFixed;
};

} // namespace wh
