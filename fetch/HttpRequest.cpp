#include "fetch/HttpRequest.h"

#include <curl/curl.h>

#include <charconv>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>

#include "fetch/HttpPool.h"
#include "platform/Codepage.h"

namespace wh {

namespace {

struct TEasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct TSlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using TCurlEasy = std::unique_ptr<CURL, TEasyCleanup>;
using TCurlSlist = std::unique_ptr<curl_slist, TSlistCleanup>;

void EnsureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The one answer whose body is the file asked for.
constexpr long HttpOk = 200;
// The rest of it, when a range was asked for.
constexpr long HttpPartialContent = 206;

struct TTransferState {
    THttpReceiver* Receiver = nullptr;
    CURL* Easy = nullptr;
    const THttpRequest* Request = nullptr;
    bool Began = false;
    THttpAnswer Answer;
    std::exception_ptr Failure;
    bool LengthTold = false;
};

// A header of the last answer, after redirects; empty when it has none.
std::string LastHeader(CURL* easy, const char* name) {
    curl_header* header = nullptr;
    if (curl_easy_header(easy, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK || header->value == nullptr)
        return {};
    return header->value;
}

// Controls cannot travel in a header line.
bool FitsInHeader(const std::string& value) {
    for (const char c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

THttpAnswer ReadAnswer(CURL* easy, long status) {
    THttpAnswer answer;
    answer.Status = status;
    // A weak ETag may not name a version in If-Range.
    std::string validator = LastHeader(easy, "ETag");
    if (validator.empty() || validator.rfind("W/", 0) == 0)
        validator = LastHeader(easy, "Last-Modified");
    if (FitsInHeader(validator))
        answer.Validator = std::move(validator);
    if (status == HttpPartialContent)
        answer.ContentRangeStart = ContentRangeStart(LastHeader(easy, "Content-Range"));
    return answer;
}

// Only a 200, or a 206 for the range asked for, carries the file's bytes;
// the body of any other answer (an unfollowed redirect's page, a partial
// content nobody asked for) must not reach the receiver. A 206 naming
// another version comes from a server that ignored If-Range.
bool Counts(const TTransferState& state, const THttpAnswer& answer) {
    if (answer.Status == HttpOk)
        return true;
    return answer.Status == HttpPartialContent && state.Request->RangeStart &&
           answer.ContentRangeStart == state.Request->RangeStart &&
           (answer.Validator.empty() || answer.Validator == state.Request->IfRange);
}

// Runs at the first byte of a body; false when the answer does not count.
bool BeginBody(TTransferState& state, long status) {
    THttpAnswer answer = ReadAnswer(state.Easy, status);
    if (!Counts(state, answer))
        return false;
    state.Answer = std::move(answer);
    state.Began = true;
    state.Receiver->Begin(state.Answer);
    return true;
}

// At the blank line that ends an answer's headers the body may be held back
// by the server until they are acknowledged.
std::size_t ReadHeaderLine(char* data, std::size_t size, std::size_t count, void*) {
    const std::size_t bytes = size * count;
    const std::string_view line(data, bytes);
    if (line == "\r\n" || line == "\n")
        AcknowledgeHttpConnections();
    return bytes;
}

int NoteSocket(void*, curl_socket_t socket, curlsocktype purpose) {
    if (purpose == CURLSOCKTYPE_IPCXN)
        NoteHttpConnection(static_cast<int>(socket));
    return CURL_SOCKOPT_OK;
}

// No exception may cross curl's C frames: keep it and stop the transfer.
std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* state = static_cast<TTransferState*>(user);
    const std::size_t bytes = size * count;
    long status = 0;
    if (curl_easy_getinfo(state->Easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
        return CURL_WRITEFUNC_ERROR;
    try {
        if (state->Began ? status != state->Answer.Status : !BeginBody(*state, status))
            return CURL_WRITEFUNC_ERROR;
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

// Fills in what the finished (or abandoned) transfer's answer says.
void Conclude(TTransferState& state, bool finished, CURLcode result, const char* errorBuffer, THttpOutcome& outcome) {
    long status = 0;
    curl_easy_getinfo(state.Easy, CURLINFO_RESPONSE_CODE, &status);
    outcome.Status = status;
    const bool delivered = finished && result == CURLE_OK;
    // A 200 with an empty body never reached WriteBody.
    if (delivered && status == HttpOk && !state.Began)
        BeginBody(state, status);
    const THttpAnswer answer = state.Began || status == 0 ? state.Answer : ReadAnswer(state.Easy, status);
    outcome.Began = state.Began;
    outcome.Validator = answer.Validator;
    outcome.ContentRangeStart = answer.ContentRangeStart;
    if (delivered && state.Began && status == state.Answer.Status) {
        outcome.Complete = true;
    } else if (outcome.Error.empty()) {
        if (!finished)
            outcome.Error = "transfer did not finish";
        else if (status > 0 && !state.Began)
            outcome.Error = "HTTP status " + std::to_string(status);
        else if (result != CURLE_OK)
            outcome.Error = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(result);
        else
            outcome.Error = "HTTP status " + std::to_string(status);
    }
}

// Adds one header line; false when memory runs out.
bool AddHeader(curl_slist* headers, const std::string& line) {
    return curl_slist_append(headers, line.c_str()) != nullptr;
}

bool IsUnsafeUrlByte(unsigned char c) {
    if (c <= 0x20 || c == 0x7F)
        return true;
    switch (c) {
    case '"':
    case '<':
    case '>':
    case '\\':
    case '^':
    case '`':
    case '{':
    case '|':
    case '}':
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
bool Configure(CURL* easy, const std::string& url, curl_slist* headers, TTransferState& state, char* errorBuffer,
               const THttpOptions& options, std::string& error) {
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
    set(CURLOPT_HEADERFUNCTION, &ReadHeaderLine);
    set(CURLOPT_SOCKOPTFUNCTION, &NoteSocket);
    // Keep-alive connections and looked-up names outlive the transfer.
    set(CURLOPT_SHARE, HttpPool());
    if (rc != CURLE_OK)
        error = curl_easy_strerror(rc);
    return rc == CURLE_OK;
}

} // namespace

std::optional<std::uint64_t> ContentRangeStart(const std::string& value) {
    constexpr std::string_view Unit = "bytes ";
    if (value.rfind(Unit, 0) != 0)
        return std::nullopt;
    const char* p = value.data() + Unit.size();
    const char* const end = value.data() + value.size();
    // One number, then the character that must follow it.
    auto number = [&](std::uint64_t& out, char next) {
        const auto [after, ec] = std::from_chars(p, end, out);
        if (ec != std::errc() || after == p || (next != '\0' ? after == end || *after != next : after != end))
            return false;
        p = after + (next != '\0' ? 1 : 0);
        return true;
    };
    std::uint64_t first = 0, last = 0, length = 0;
    if (!number(first, '-') || !number(last, '/') || last < first)
        return std::nullopt;
    if (end - p == 1 && *p == '*')
        return first;
    if (!number(length, '\0') || last >= length)
        return std::nullopt;
    return first;
}

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

struct THttpTransfer::TState {
    THttpRequest Request;
    TTransferState Transfer;
    char ErrorBuffer[CURL_ERROR_SIZE] = {};
    TCurlSlist Headers{curl_slist_append(nullptr, "Accept:")};
    TCurlEasy Easy{curl_easy_init()};
    std::string Setup; // why the request could not be set up
    bool Finished = false;
    CURLcode Result = CURLE_OK;
};

THttpTransfer::THttpTransfer(THttpRequest request, THttpReceiver& receiver, const THttpOptions& options)
    : F(std::make_unique<TState>()) {
    EnsureCurlInitialised();
    F->Request = std::move(request);
    F->Transfer.Request = &F->Request;
    F->Transfer.Receiver = &receiver;
    F->Transfer.Easy = F->Easy.get();
    const THttpRequest& asked = F->Request;
    bool headersMade = F->Easy && F->Headers;
    if (headersMade && asked.RangeStart) {
        headersMade = AddHeader(F->Headers.get(), "Range: bytes=" + std::to_string(*asked.RangeStart) + "-");
        if (headersMade && !asked.IfRange.empty())
            headersMade = AddHeader(F->Headers.get(), "If-Range: " + asked.IfRange);
    }
    if (!FitsInHeader(asked.IfRange))
        F->Setup = "If-Range value holds control characters";
    else if (!headersMade)
        F->Setup = "out of memory";
    else
        Configure(F->Easy.get(), EncodeURL(asked.Url), F->Headers.get(), F->Transfer, F->ErrorBuffer, options,
                  F->Setup);
    if (!F->Setup.empty()) {
        F->Easy.reset();
        F->Transfer.Easy = nullptr;
    }
}

THttpTransfer::~THttpTransfer() = default;

CURL* THttpTransfer::Handle() const { return F->Easy.get(); }

void THttpTransfer::Finished(int result) {
    F->Finished = true;
    F->Result = static_cast<CURLcode>(result);
}

bool THttpTransfer::IsFinished() const { return F->Finished || !F->Easy; }

THttpOutcome THttpTransfer::Outcome() const {
    if (F->Transfer.Failure)
        std::rethrow_exception(F->Transfer.Failure);
    THttpOutcome outcome;
    if (!F->Easy) {
        outcome.Error = F->Setup;
        return outcome;
    }
    Conclude(F->Transfer, F->Finished, F->Result, F->ErrorBuffer, outcome);
    return outcome;
}

} // namespace wh
