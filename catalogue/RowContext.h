#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/Aircraft.h"
#include "platform/PathSnapshot.h"

namespace wh {

// What every row is judged against: the simulator folder, the working
// directory and the thousands separator of the Size column.
struct TWHRowContext {
    std::string FSDir;
    std::string WorkingDir;
    std::string ThousandsSeparator;
};

// RefreshAircraftRow without the widget: the record's state worked out anew
// (through the snapshot when given), then the caption and sub-items to show
// for it.
std::array<std::string, 8> RefreshedRowTexts(TWHAircraft& aircraft, const TWHRowContext& context,
                                             TPathSnapshot* snapshot = nullptr);

// The list's update bracket. While it is open the context is read once, when
// the outermost bracket opens, so that 10,000 rows of a load do not work it
// out 10,000 times, and the rows' files are looked up in one snapshot of
// their folders; outside a bracket each row reads both afresh.
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
    // The open bracket's snapshot; none outside a bracket.
    TPathSnapshot* Snapshot() const { return FSnapshot.get(); }

private:
    TSource FSource;
    int FDepth = 0;
    std::optional<TWHRowContext> FFixed;
    std::unique_ptr<TPathSnapshot> FSnapshot;
};

} // namespace wh
