#include "archive/UnzipCallbacks.h"

#include <cstring>
#include <string>

#include "activity/Activity.h"
#include "platform/Codepage.h"

namespace wh {

namespace {

TWHActivity* GActivity = nullptr;

} // namespace

TUnzipActivityScope::TUnzipActivityScope(TWHActivity& activity) : FPrevious(GActivity) { GActivity = &activity; }

TUnzipActivityScope::~TUnzipActivityScope() { GActivity = FPrevious; }

int UnzipPrint(char* buffer, unsigned long size) {
    if (!buffer || !GActivity)
        return static_cast<int>(size);
    // The library zero-terminates its messages; size still bounds the read
    // should one arrive without its terminator.
    const auto* end = static_cast<const char*>(std::memchr(buffer, '\0', size));
    std::string text(buffer, end ? static_cast<std::size_t>(end - buffer) : size);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    text = Trim(text);
    if (!text.empty())
        GActivity->SetStatus(text);
    return static_cast<int>(size);
}

int UnzipReplace(char*) { return 1; }

int UnzipPassword(char*, int, const char*, const char*) { return 1; }

void UnzipEntryInfo(unsigned long, unsigned long, unsigned, unsigned, unsigned, unsigned, unsigned, unsigned, char,
                    const char*, const char*, unsigned long, char) {}

int UnzipService(const char*, unsigned long) { return 0; }

} // namespace wh
