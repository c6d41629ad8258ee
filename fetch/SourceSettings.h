#pragma once

#include <string>

namespace wh {

// The Welcome page's source controls, read at the moment of each fetch.
class TWHSourceSettings {
public:
    virtual bool LocalDirSelected() const = 0;       // rbLocalDir
    virtual std::string PackageFileText() const = 0; // edPackageFile, its text as typed
    virtual bool URLSelected() const = 0;            // rbURL
    virtual std::string URLText() const = 0;         // edURL, untrimmed

protected:
    ~TWHSourceSettings() = default;
};

} // namespace wh
