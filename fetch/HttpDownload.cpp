#include "fetch/HttpDownload.h"

#include <curl/curl.h>

#include <exception>
#include <memory>
#include <mutex>

#include "platform/Codepage.h"

namespace wh {

namespace {

struct TEasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct TMultiCleanup {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct TSlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using TCurlEasy = std::unique_ptr<CURL, TEasyCleanup>;
using TCurlMulti = std::unique_ptr<CURLM, TMultiCleanup>;
using TCurlSlist = std::unique_ptr<curl_slist, TSlistCleanup>;

// Keeps an easy handle inside a multi handle; both must outlive it.
class TMultiMembership {
public:
    TMultiMembership(CURLM* multi, CURL* easy) : FMulti(multi), FEasy(easy) {
        FAdded = curl_multi_add_handle(multi, easy) == CURLM_OK;
    }
    ~TMultiMembership() {
        if (FAdded)
            curl_multi_remove_handle(FMulti, FEasy);
    }
    TMultiMembership(const TMultiMembership&) = delete;
    TMultiMembership& operator=(const TMultiMembership&) = delete;
    bool Added() const { return FAdded; }

private:
    CURLM* FMulti;
    CURL* FEasy;
    bool FAdded = false;
};

void EnsureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The one answer whose body is the file asked for.
constexpr long HttpOk = 200;

struct TTransferState {
    THttpReceiver* Receiver = nullptr;
    CURL* Easy = nullptr;
    std::exception_ptr Failure;
    bool LengthTold = false;
};

// No exception may cross curl's C frames: keep it and stop the transfer.
std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* state = static_cast<TTransferState*>(user);
    const std::size_t bytes = size * count;
    // The body of any other answer (an unfollowed redirect's page, a partial
    // content) is not the file: stop before it reaches the receiver.
    long status = 0;
    if (curl_easy_getinfo(state->Easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status != HttpOk)
        return CURL_WRITEFUNC_ERROR;
    try {
        if (!state->LengthTold) {
            state->LengthTold = true;
            curl_off_t length = -1;
            if (curl_easy_getinfo(state->Easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
                length = -1;
            state->Receiver->BodyLength(length);
        }
        state->Receiver->Body(data, bytes);
        return bytes;
    } catch (...) {
        state->Failure = std::current_exception();
        return CURL_WRITEFUNC_ERROR;
    }
}

bool IsUnsafeUrlByte(unsigned char c) {
    if (c <= 0x20 || c == 0x7F)
        return true;
    switch (c) {
    case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|': case '}':
        return true;
    default:
        return false;
    }
}

void AppendPercent(std::string& out, unsigned char c) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    out += '%';
    out += Hex[c >> 4];
    out += Hex[c & 0x0F];
}

// Sets every option; false (with the reason) when curl refuses one.
bool Configure(CURL* easy, const std::string& url, curl_slist* headers, TTransferState& state,
               char* errorBuffer, const THttpOptions& options, std::string& error) {
    CURLcode rc = CURLE_OK;
    auto set = [&](CURLoption option, auto value) {
        if (rc == CURLE_OK)
            rc = curl_easy_setopt(easy, option, value);
    };
    set(CURLOPT_ERRORBUFFER, errorBuffer);
    set(CURLOPT_URL, url.c_str());
    set(CURLOPT_USERAGENT, HttpAgentName);
    set(CURLOPT_HTTPHEADER, headers);
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    set(CURLOPT_FOLLOWLOCATION, 1L);
    set(CURLOPT_MAXREDIRS, options.MaxRedirects);
    // Error pages are not worth receiving; the status is checked again at the end.
    set(CURLOPT_FAILONERROR, 1L);
    set(CURLOPT_CONNECTTIMEOUT_MS, options.ConnectTimeoutMs);
    set(CURLOPT_LOW_SPEED_LIMIT, options.StallBytesPerSecond);
    set(CURLOPT_LOW_SPEED_TIME, options.StallSeconds);
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_BUFFERSIZE, options.ReceiveBufferBytes);
    set(CURLOPT_WRITEFUNCTION, &WriteBody);
    set(CURLOPT_WRITEDATA, static_cast<void*>(&state));
    if (rc != CURLE_OK)
        error = curl_easy_strerror(rc);
    return rc == CURLE_OK;
}

} // namespace

std::string EncodeURL(const std::string& url) {
    std::string encoded;
    encoded.reserve(url.size());
    for (const char ch : url) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80) {
            for (const char u : AnsiToUtf8(std::string_view(&ch, 1)))
                AppendPercent(encoded, static_cast<unsigned char>(u));
        } else if (IsUnsafeUrlByte(c)) {
            AppendPercent(encoded, c);
        } else {
            encoded += ch;
        }
    }
    return encoded;
}

THttpOutcome HttpGet(const std::string& url, THttpReceiver& receiver, const THttpOptions& options) {
    EnsureCurlInitialised();
    THttpOutcome outcome;

    // Declared before the handles so that they outlive them.
    TTransferState state;
    state.Receiver = &receiver;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    // An empty "Accept:" removes curl's default header: we send none of our own.
    TCurlSlist headers(curl_slist_append(nullptr, "Accept:"));
    TCurlEasy easy(curl_easy_init());
    TCurlMulti multi(curl_multi_init());
    if (!easy || !multi || !headers) {
        outcome.Error = "out of memory";
        return outcome;
    }

    state.Easy = easy.get();
    const std::string encoded = EncodeURL(url);
    if (!Configure(easy.get(), encoded, headers.get(), state, errorBuffer, options, outcome.Error))
        return outcome;

    TMultiMembership membership(multi.get(), easy.get());
    if (!membership.Added()) {
        outcome.Error = "cannot start the transfer";
        return outcome;
    }

    CURLcode result = CURLE_OK;
    bool finished = false;
    while (true) {
        int running = 0;
        const CURLMcode mc = curl_multi_perform(multi.get(), &running);
        if (state.Failure)
            std::rethrow_exception(state.Failure);
        if (mc != CURLM_OK) {
            outcome.Error = curl_multi_strerror(mc);
            break;
        }
        if (running == 0) {
            int queued = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued)) {
                if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy.get()) {
                    result = msg->data.result;
                    finished = true;
                }
            }
            break;
        }
        receiver.Idle();
        if (receiver.Cancelled()) {
            outcome.Cancelled = true;
            outcome.Error = "cancelled";
            return outcome;
        }
        const CURLMcode pc = curl_multi_poll(multi.get(), nullptr, 0, options.PollMs, nullptr);
        if (pc != CURLM_OK) {
            outcome.Error = curl_multi_strerror(pc);
            break;
        }
    }

    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    outcome.Status = status;
    if (finished && result == CURLE_OK && status == HttpOk) {
        outcome.Complete = true;
    } else if (outcome.Error.empty()) {
        if (!finished)
            outcome.Error = "transfer did not finish";
        else if (status > 0 && status != HttpOk)
            outcome.Error = "HTTP status " + std::to_string(status);
        else if (result != CURLE_OK)
            outcome.Error = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(result);
        else
            outcome.Error = "HTTP status " + std::to_string(status);
    }
    return outcome;
}

} // namespace wh
