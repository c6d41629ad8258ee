#include "fetch/HttpTransfers.h"

#include <curl/curl.h>

#include <algorithm>

namespace wh {

THttpTransfers::THttpTransfers() : FMulti(curl_multi_init()) {}

THttpTransfers::~THttpTransfers() {
    for (THttpTransfer* request : FRunning)
        curl_multi_remove_handle(FMulti, request->Handle());
    if (FMulti)
        curl_multi_cleanup(FMulti);
}

void THttpTransfers::Start(THttpTransfer& request) {
    if (!request.Handle())
        return; // finished already: it could not be set up
    if (!FMulti || curl_multi_add_handle(FMulti, request.Handle()) != CURLM_OK) {
        request.Finished(CURLE_FAILED_INIT);
        return;
    }
    FRunning.push_back(&request);
}

void THttpTransfers::Finish(THttpTransfer& request, int result) {
    curl_multi_remove_handle(FMulti, request.Handle());
    FRunning.erase(std::find(FRunning.begin(), FRunning.end(), &request));
    request.Finished(result);
}

void THttpTransfers::Perform() {
    if (FRunning.empty())
        return;
    int running = 0;
    if (curl_multi_perform(FMulti, &running) != CURLM_OK) {
        // The set cannot go on: every transfer in it has failed.
        while (!FRunning.empty())
            Finish(*FRunning.back(), CURLE_FAILED_INIT);
        return;
    }
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(FMulti, &queued)) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        // msg does not survive the handle's removal.
        CURL* const easy = msg->easy_handle;
        const CURLcode result = msg->data.result;
        const auto it =
            std::find_if(FRunning.begin(), FRunning.end(), [&](THttpTransfer* r) { return r->Handle() == easy; });
        if (it != FRunning.end())
            Finish(**it, result);
    }
}

void THttpTransfers::Wait(int ms) {
    if (FMulti)
        curl_multi_poll(FMulti, nullptr, 0, ms, nullptr);
}

} // namespace wh
