#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace wh {

class TWHActivity;
struct THttpOptions;

// A broken download of at least this many bytes is kept beside its target,
// and the next download of it asks only for the rest (when the server still
// has the same version); below that a new transfer costs next to nothing.
inline constexpr std::uint64_t ResumeFromBytes = 64 * 1024;

// True when the whole body of a successful answer is stored at destination.
// A close asked for meanwhile (TWHActivity::CancelRequested) stops the
// transfer, logs it and raises EOperationCancelled; the cached copy stays.
bool DownloadURL(const std::string& url, const std::string& destination, TWHActivity& activity);
// The same with the transfer's time limits given (fetch/HttpDownload.h); the
// overload above uses the defaults. Tests shorten them here. With modified
// given, the file has that modification time before it takes its place.
bool DownloadURL(const std::string& url, const std::string& destination, TWHActivity& activity,
                 const THttpOptions& options, std::optional<std::time_t> modified = std::nullopt);

} // namespace wh
