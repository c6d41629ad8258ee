#pragma once

#include <vector>

#include "fetch/HttpRequest.h"

typedef void CURLM;

namespace wh {

// Runs several requests at once in one multi handle on the calling thread.
// The owner starts them and drives the set with Perform and Wait until the
// one it needs has finished; a finished request leaves the set at once, so
// its connection is free for the next. Requests must outlive the set.
class THttpTransfers {
public:
    THttpTransfers();
    // Takes out every request still running; they stay unfinished.
    ~THttpTransfers();
    THttpTransfers(const THttpTransfers&) = delete;
    THttpTransfers& operator=(const THttpTransfers&) = delete;

    // A request that cannot be set up or added is finished at once.
    void Start(THttpTransfer& request);
    // Moves every running transfer along and marks those that ended.
    void Perform();
    // Waits for socket activity, at most ms milliseconds.
    void Wait(int ms);
    std::size_t Running() const { return FRunning.size(); }

private:
    void Finish(THttpTransfer& request, int result);

    CURLM* FMulti;
    std::vector<THttpTransfer*> FRunning;
};

} // namespace wh
