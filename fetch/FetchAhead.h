#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace wh {

class TWHActivity;
class TWHSourceSettings;
struct THttpOptions;

// Fetches a run of files of the source ahead of their use. From a URL the
// files are downloaded several at a time over the shared connections; from a
// local directory each is copied when its turn comes, as FetchFile does.
// Fetch(i) then does for names[i] what FetchFile would at that moment: the
// same status lines, the same error, the file in the working directory. A
// downloaded file takes its cached copy's place only when its turn comes, so
// after a failure the working directory is as fetching one by one leaves it.
class TFetchAhead {
public:
    static constexpr std::size_t Parallel = 8;     // transfers at a time
    static constexpr std::size_t Lookahead = 48;   // files fetched before their turn, at most

    TFetchAhead(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source);
    // With the transfers' time limits given (fetch/HttpDownload.h).
    TFetchAhead(std::vector<std::string> names, TWHActivity& activity, const TWHSourceSettings& source,
                const THttpOptions& options);
    // Abandons what has not had its turn; the cached copies stay.
    ~TFetchAhead();
    TFetchAhead(const TFetchAhead&) = delete;
    TFetchAhead& operator=(const TFetchAhead&) = delete;

    // The files in order: 0, 1, 2, ... Raises as FetchFile does for that name.
    void Fetch(std::size_t index);

private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};

} // namespace wh
