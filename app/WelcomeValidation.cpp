#include "app/WelcomeValidation.h"

#include "files/CommandLineSplit.h"
#include "platform/Codepage.h"
#include "platform/Paths.h"

namespace wh {

namespace {

bool Blank(const std::string& text) { return Trim(text).empty(); }

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

bool LocalSourceValid(const TWelcomeSettings& page) {
    return page.LocalDir && !Blank(page.PackageFile) && FileExists(EditFileName(page.PackageFile));
}

bool URLSourceValid(const TWelcomeSettings& page) {
    if (!page.URL || Blank(page.URLText))
        return false;
    const std::string scheme = AnsiLowerCase(page.URLText.substr(0, 8));
    return StartsWith(scheme, "http://") || StartsWith(scheme, "file://") || scheme == "https://";
}

bool FSDirValid(const std::string& fsDir) {
    return !Blank(fsDir) && DirectoryExists(fsDir) && DirectoryExists(fsDir + "\\aircraft");
}

bool WelcomePageValid(const TWelcomeSettings& page) {
    const bool sourceValid = LocalSourceValid(page) || URLSourceValid(page);
    return sourceValid && FSDirValid(page.FSDir);
}

} // namespace wh
