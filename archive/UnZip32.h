#pragma once

// The extraction library's binding, in the shape of the classic unzip DLL
// interface, implemented on libzip. Records and callbacks keep their
// published names so the callers read as they would against the DLL.

#include <cstdint>

namespace wh {

struct UzpVer2 { // one version: major, minor, patch level, spare
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    std::uint8_t patchlevel = 0;
    std::uint8_t not_used = 0;
};

struct UzpVer {
    std::uint32_t structlen = sizeof(UzpVer);
    std::uint32_t flag = 0; // bit 0: beta, bit 1: uses zlib
    const char* betalevel = "";
    const char* date = "";
    const char* zlib_version = nullptr; // may be null
    UzpVer2 unzip;                      // the zip library's version
    UzpVer2 zipinfo;
    UzpVer2 os2dll;
    UzpVer2 windll; // this binding's version
};

// The version record, owned by the binding, valid for the life of the program.
const UzpVer* UzpVersion();

struct DCL {
    std::int32_t ExtractOnlyNewer;
    std::int32_t SpaceToUnderscore;
    std::int32_t PromptToOverwrite;
    std::int32_t fQuiet;
    std::int32_t ncflag;
    std::int32_t ntflag;
    std::int32_t nvflag;
    std::int32_t nfflag;
    std::int32_t nzflag;
    std::int32_t ndflag;
    std::int32_t noflag;
    std::int32_t naflag;
    std::int32_t nZIflag;
    std::int32_t C_flag;
    std::int32_t fPrivilege;
    const char* lpszZipFN;
    const char* lpszExtractDir;
};

using DLLPRNT = int (*)(char* buffer, unsigned long size);
using DLLSND = void (*)();
using DLLREPLACE = int (*)(char* fileName);
using DLLPASSWORD = int (*)(char* password, int size, const char* prompt, const char* name);
using DLLMESSAGE = void (*)(unsigned long ucsize, unsigned long csiz, unsigned cfactor, unsigned mo, unsigned dy,
                            unsigned yr, unsigned hh, unsigned mm, char c, const char* filename, const char* methbuf,
                            unsigned long crc, char fCrypt);
using DLLSERVICE = int (*)(const char* name, unsigned long size);

struct USERFUNCTIONS {
    DLLPRNT print;
    DLLSND sound;
    DLLREPLACE replace;
    DLLPASSWORD password;
    DLLMESSAGE SendApplicationMessage;
    DLLSERVICE ServCallBk;
    unsigned long TotalSizeComp;
    unsigned long TotalSize;
    int CompFactor;
    unsigned NumMembers;
    unsigned cchComment;
};

// Return codes, as the classic library numbers them.
inline constexpr int PK_OK = 0;     // no error
inline constexpr int PK_WARN = 1;   // warnings; all entries extracted
inline constexpr int PK_ERR = 2;    // error in the archive
inline constexpr int PK_BADERR = 3; // severe error in the archive
inline constexpr int PK_MEM = 4;
inline constexpr int PK_NOZIP = 9; // archive missing or not a zip archive
inline constexpr int PK_PARAM = 10;
inline constexpr int PK_DISK = 50; // a file could not be written

// Extracts every entry of options->lpszZipFN below options->lpszExtractDir
// with its folders (ndflag), overwriting existing files without a question
// (noflag); other modes and name lists are refused with PK_PARAM. Messages go
// to functions->print; replace is never asked, and the answer of ServCallBk
// is not examined.
int Wiz_SingleEntryUnzip(int ifnc, char** ifnv, int xfnc, char** xfnv, DCL* options, USERFUNCTIONS* functions);

} // namespace wh
