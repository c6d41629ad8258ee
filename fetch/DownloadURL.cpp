#include "fetch/DownloadURL.h"

#include "fetch/DownloadDriver.h"
#include "fetch/HttpRequest.h"

namespace wh {

bool DownloadURL(const std::string& url, const std::string& destination, TWHActivity& activity) {
    return DownloadURL(url, destination, activity, THttpOptions{});
}

bool DownloadURL(const std::string& url, const std::string& destination, TWHActivity& activity,
                 const THttpOptions& options, std::optional<std::time_t> modified, TReplacementOptions replacement) {
    // Declared first: the driver goes before the download it runs.
    TFileDownload download(url, destination, options, replacement);
    TDownloadDriver driver(activity, options);
    driver.Add(download);
    return driver.Complete(download, modified);
}

} // namespace wh
