#include "install/WelcomeValidation.h"

#include "fetch/SourceURL.h"
#include "files/CommandLineSplit.h"
#include "platform/Codepage.h"
#include "platform/Paths.h"

namespace wh {

namespace {

bool Blank(const std::string& text) { return Trim(text).empty(); }

// Accepted here although no fetch takes it: the fetch then says why.
bool IsFileURL(const std::string& text) { return AnsiLowerCase(text.substr(0, 7)) == "file://"; }

} // namespace

bool LocalSourceValid(const TWelcomeSettings& page) {
    return page.LocalDir && !Blank(page.PackageFile) && FileExists(EditFileName(page.PackageFile));
}

bool URLSourceValid(const TWelcomeSettings& page) {
    if (!page.URL || Blank(page.URLText))
        return false;
    return IsHttpSourceURL(page.URLText) || IsFileURL(page.URLText);
}

bool FSDirValid(const std::string& fsDir) {
    return !Blank(fsDir) && DirectoryExists(fsDir) && DirectoryExists(fsDir + "\\aircraft");
}

bool WelcomePageValid(const TWelcomeSettings& page) {
    const bool sourceValid = LocalSourceValid(page) || URLSourceValid(page);
    return sourceValid && FSDirValid(page.FSDir);
}

} // namespace wh
