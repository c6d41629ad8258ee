#pragma once

#include <cstddef>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fetch/Fetch.h"

namespace wh {

class TWHActivity;
class TWHSourceSettings;
struct THttpOptions;

// Fetches a run of files of the source ahead of their use. From a URL the
// files are downloaded several at a time over the shared connections (a
// single FetchFile is a run of one); from a local directory each is copied
// when its turn comes, as FetchFile does.
// Fetch(i) then does for names[i] what FetchFile would at that moment: the
// same status lines, the same error, the file in the working directory. A
// downloaded file takes its cached copy's place only when its turn comes, so
// after a failure the working directory is as fetching one by one leaves it.
class TFetchAhead {
public:
    static constexpr std::size_t Parallel = 8;   // transfers at a time
    static constexpr std::size_t Lookahead = 48; // files fetched before their turn, at most

    TFetchAhead(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source,
                TFetchedFile kind = TFetchedFile::Kept);
    // With the transfers' time limits given (fetch/HttpRequest.h).
    TFetchAhead(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source,
                const THttpOptions& options, TFetchedFile kind = TFetchedFile::Kept);
    // Abandons what has not had its turn; the cached copies stay.
    ~TFetchAhead();
    TFetchAhead(const TFetchAhead&) = delete;
    TFetchAhead& operator=(const TFetchAhead&) = delete;

    // The files in order: 0, 1, 2, ... Raises as FetchFile does for that name.
    void Fetch(std::size_t index, std::optional<std::time_t> modified = std::nullopt);
    // Moves the transfers along without waiting, for a caller busy with the
    // files already fetched.
    void Drive();

private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};

} // namespace wh
