#pragma once

// The callbacks ExtractArchive hands to the extraction library. The library
// passes them no context, so they reach the activity log through a pointer
// that TUnzipActivityScope sets for the length of one extraction.

namespace wh {

class TWHActivity;

class TUnzipActivityScope {
public:
    explicit TUnzipActivityScope(TWHActivity& activity);
    ~TUnzipActivityScope();
    TUnzipActivityScope(const TUnzipActivityScope&) = delete;
    TUnzipActivityScope& operator=(const TUnzipActivityScope&) = delete;

private:
    TWHActivity* FPrevious;
};

// A library message becomes a status line: text up to the first zero byte
// (and never beyond size), control characters as blanks, trimmed; nothing
// when empty. Returns size.
int UnzipPrint(char* buffer, unsigned long size);
int UnzipReplace(char* fileName);
int UnzipPassword(char* password, int size, const char* prompt, const char* name);
void UnzipEntryInfo(unsigned long ucsize, unsigned long csiz, unsigned cfactor, unsigned mo, unsigned dy, unsigned yr,
                    unsigned hh, unsigned mm, char c, const char* filename, const char* methbuf, unsigned long crc,
                    char fCrypt);
int UnzipService(const char* name, unsigned long size);

} // namespace wh
