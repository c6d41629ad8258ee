#pragma once

#include <memory>

#include "catalogue/Aircraft.h"

namespace wh {

// The list of liveries as the catalogue reader fills it (the window's
// lvAircraft). Each row owns its record.
class TWHAircraftList {
public:
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    // Deletes every row and so frees every record.
    virtual void Clear() = 0;
    // Appends a row that takes the record, links row and record, and fills
    // the row's texts (its state worked out first).
    virtual void Add(std::unique_ptr<TWHAircraft> aircraft) = 0;

protected:
    ~TWHAircraftList() = default;
};

} // namespace wh
