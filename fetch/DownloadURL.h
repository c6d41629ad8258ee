#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "fetch/FileDownload.h"

namespace wh {

class TWHActivity;
struct THttpOptions;

// True when the whole body of a successful answer is stored at destination.
// A close asked for meanwhile (TWHActivity::CancelRequested) stops the
// transfer, logs it and raises EOperationCancelled; the cached copy stays.
bool DownloadURL(const std::string& url, const std::string& destination, TWHActivity& activity);
// The same with the transfer's time limits given (fetch/HttpRequest.h) and
// how the file replaces its cached copy; the overload above uses the
// defaults. Tests shorten the limits here. With modified given, the file has
// that modification time before it takes its place.
bool DownloadURL(const std::string& url, const std::string& destination, TWHActivity& activity,
                 const THttpOptions& options, std::optional<std::time_t> modified = std::nullopt,
                 TReplacementOptions replacement = ResumableFetchReplacement);

} // namespace wh
