#include "archive/Extract.h"

#include <cstring>

#include "archive/UnZip32.h"
#include "archive/UnzipCallbacks.h"
#include "files/WorkingDir.h"
#include "platform/Errors.h"

namespace wh {

void ExtractArchive(const std::string& archiveName, const std::string& targetDir, TWHActivity& activity) {
    USERFUNCTIONS functions;
    std::memset(&functions, 0, sizeof functions);
    functions.print = UnzipPrint;
    functions.sound = nullptr;
    functions.replace = UnzipReplace;
    functions.password = UnzipPassword;
    functions.SendApplicationMessage = UnzipEntryInfo;
    functions.ServCallBk = UnzipService;

    const std::string zipFileName = WorkingDir() + archiveName;
    DCL options;
    std::memset(&options, 0, sizeof options);
    options.ndflag = 1;
    options.noflag = 1;
    options.C_flag = 1;
    options.lpszZipFN = zipFileName.c_str();
    options.lpszExtractDir = targetDir.c_str();

    CreateDirectoryPath(targetDir);

    int result;
    {
        TUnzipActivityScope scope(activity);
        result = Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions);
    }
    // The library's own messages have shown what went wrong; the caller must
    // not go on as if the files had arrived.
    if (result != PK_OK && result != PK_WARN)
        throw EWingharbour("Error extracting archive '" + archiveName + "'.");
}

} // namespace wh
