#include "archive/UnZip32.h"

#include <zip.h>
#include <zlib.h>
#undef zlib_version // zlib's macro would replace the name of the record's field

#include <algorithm>
#include <array>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "archive/ExtractionTarget.h"
#include "archive/Inflate64.h"
#include "archive/ZipEntryEncoding.h"
#include "archive/ZipEntryName.h"
#include "files/ReplacementFile.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/FileStatus.h"
#include "platform/FileTimes.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// Large enough that a big entry costs few calls; no per-byte work anywhere.
constexpr std::size_t kBufferSize = 256 * 1024;

// As the classic library sizes its password buffer.
constexpr int kPasswordSize = 81;

struct TArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct TEntryCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using TArchive = std::unique_ptr<zip_t, TArchiveCloser>;
using TEntry = std::unique_ptr<zip_file_t, TEntryCloser>;

std::string ZipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string MethodText(zip_uint16_t method) {
    switch (method) {
    case ZIP_CM_STORE:
        return "Stored";
    case ZIP_CM_DEFLATE:
        return "Defl:N";
    case ZIP_CM_DEFLATE64:
        return "Def64";
    case ZIP_CM_BZIP2:
        return "BZip2";
    case ZIP_CM_LZMA:
        return "LZMA";
    case ZIP_CM_XZ:
        return "XZ";
    default:
        return "Unk:" + std::to_string(method);
    }
}

const char* ProblemText(TEntryNameProblem problem) {
    switch (problem) {
    case TEntryNameProblem::Empty:
        return "empty name";
    case TEntryNameProblem::Absolute:
        return "absolute path refused";
    case TEntryNameProblem::DriveLetter:
        return "drive letter refused";
    case TEntryNameProblem::ParentFolder:
        return "\"..\" component refused";
    case TEntryNameProblem::None:
        break;
    }
    return "";
}

const char* ProblemText(TEntryLengthProblem problem) {
    switch (problem) {
    case TEntryLengthProblem::NameTooLong:
        return "name too long for the file system";
    case TEntryLengthProblem::PathTooLong:
        return "path too long for the file system";
    case TEntryLengthProblem::None:
        break;
    }
    return "";
}

// The folders an entry needed stay only when the entry lands.
class TEntryFolders {
public:
    explicit TEntryFolders(TExtractionTarget& target) : FTarget(target) {}
    ~TEntryFolders() { FLanded ? FTarget.KeepNewFolders() : FTarget.RemoveNewFolders(); }
    TEntryFolders(const TEntryFolders&) = delete;
    TEntryFolders& operator=(const TEntryFolders&) = delete;
    void Landed() { FLanded = true; }

private:
    TExtractionTarget& FTarget;
    bool FLanded = false;
};

bool IsSymbolicLink(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return false;
    // The Unix mode's file type as the zip format stores it: 0120000 is a link.
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & 0170000) == 0120000;
}

// A path of the file system as the program's messages show it.
std::string Shown(const std::filesystem::path& path) { return NativePath(Utf8ToAnsi(path.string())); }

// The system's words for a failed file operation, as the messages give them.
std::string Reason(const EInOutError& e) { return std::generic_category().message(e.ErrorCode()); }

// One call of Wiz_SingleEntryUnzip.
class TUnzipRun {
public:
    TUnzipRun(const DCL& options, const USERFUNCTIONS& functions)
        : FOptions(options), FFunctions(functions), FBuffer(kBufferSize) {}

    int Run();

private:
    void Print(const std::string& line);
    void Worse(int code) { FResult = std::max(FResult, code); }
    void ExtractEntry(zip_t* archive, zip_uint64_t index);
    bool ExtractFile(zip_t* archive, zip_uint64_t index, const zip_stat_t& st, const TZipEntryPath& path,
                     const std::string& shownName);
    TEntry OpenEntry(zip_t* archive, zip_uint64_t index, const zip_stat_t& st, const std::string& shownName);
    bool CopyEntry(zip_file_t* entry, TReplacementFile& file, const std::string& shownName,
                   const std::string& shownPath);
    bool InflateEntry(zip_file_t* entry, const zip_stat_t& st, TReplacementFile& file, const std::string& shownName,
                      const std::string& shownPath);
    void ReadFailed(zip_file_t* entry, const std::string& shownName, const std::string& shownPath);
    void Report(const zip_stat_t& st, const std::string& shownName);
    void RestoreFolderTimes(zip_t* archive);

    const DCL& FOptions;
    const USERFUNCTIONS& FFunctions;
    std::vector<char> FBuffer;
    std::optional<TExtractionTarget> FTarget;
    struct TFolderTime {
        zip_uint64_t Index; // the entry's name is read again, not kept
        std::size_t Depth;
        std::time_t Modified;
    };
    std::vector<TFolderTime> FFolderTimes;
    std::string FPassword;
    bool FNoMorePasswords = false;
    int FResult = PK_OK;
};

void TUnzipRun::Print(const std::string& line) {
    if (!FFunctions.print)
        return;
    std::string text = line + "\n";
    FFunctions.print(text.data(), static_cast<unsigned long>(text.size()));
}

int TUnzipRun::Run() {
    if (!FOptions.lpszZipFN || !*FOptions.lpszZipFN)
        return PK_PARAM;
    if (FOptions.ncflag || FOptions.ntflag || FOptions.nvflag || FOptions.nZIflag || !FOptions.ndflag ||
        !FOptions.noflag) {
        Print("error:  only extraction to files with their folders, overwriting, is supported");
        return PK_PARAM;
    }
    const std::string zipName = FOptions.lpszZipFN;
    const std::string shownZip = NativePath(zipName);
    const std::filesystem::path zipPath = OsPath(zipName);

    TFileStatus st;
    if (!PathStatus(zipPath, st) || !st.IsRegular()) {
        Print("error:  cannot find or open " + shownZip + ".");
        return PK_NOZIP;
    }
    Print("Archive:  " + shownZip);
    if (st.Size == 0) {
        Print("error:  " + shownZip + " is empty (0 bytes), not a zip archive.");
        return PK_NOZIP;
    }
    int error = 0;
    TArchive archive(zip_open(zipPath.c_str(), ZIP_RDONLY, &error));
    if (!archive) {
        if (error == ZIP_ER_NOZIP) {
            Print("  End-of-central-directory signature not found: this file is not a zip archive.");
            return PK_NOZIP;
        }
        if (error == ZIP_ER_OPEN || error == ZIP_ER_READ) {
            Print("error:  cannot open " + shownZip + ": " + ZipErrorText(error) + ".");
            return PK_NOZIP;
        }
        Print("error:  " + shownZip + " is damaged: " + ZipErrorText(error) + ".");
        return PK_BADERR;
    }

    if (const auto refused = FirstNameAnsiCannotHold(archive.get())) {
        Print("error:  " + Utf8ToAnsi(*refused) + ":  name not representable in Windows-1252, nothing extracted");
        return PK_ERR;
    }

    const std::string dir =
        FOptions.lpszExtractDir && *FOptions.lpszExtractDir ? FOptions.lpszExtractDir : std::string(".");
    const std::filesystem::path root = OsPath(dir);
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    try {
        FTarget.emplace(root);
    } catch (const ETargetFolder& e) {
        Print("error:  cannot use the folder " + NativePath(dir) + ": " + Utf8ToAnsi(e.what()));
        return PK_DISK;
    }

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count <= 0) {
        Print("warning [" + shownZip + "]:  zipfile is empty");
        return PK_WARN;
    }
    for (zip_int64_t i = 0; i < count; ++i)
        ExtractEntry(archive.get(), static_cast<zip_uint64_t>(i));
    RestoreFolderTimes(archive.get());
    return FResult;
}

void TUnzipRun::Report(const zip_stat_t& st, const std::string& shownName) {
    if (!FFunctions.SendApplicationMessage)
        return;
    const TDateTimeParts local = LocalDateTime((st.valid & ZIP_STAT_MTIME) ? st.mtime : 0);
    const unsigned factor =
        st.size == 0 || st.comp_size >= st.size ? 0 : static_cast<unsigned>(100 - st.comp_size * 100 / st.size);
    const bool encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    FFunctions.SendApplicationMessage(
        static_cast<unsigned long>(st.size), static_cast<unsigned long>(st.comp_size), factor,
        static_cast<unsigned>(local.Month), static_cast<unsigned>(local.Day), static_cast<unsigned>(local.Year),
        static_cast<unsigned>(local.Hour), static_cast<unsigned>(local.Minute), ' ', shownName.c_str(),
        MethodText(st.comp_method).c_str(), static_cast<unsigned long>(st.crc), encrypted ? 'E' : ' ');
}

void TUnzipRun::ExtractEntry(zip_t* archive, zip_uint64_t index) {
    zip_stat_t st;
    zip_stat_init(&st);
    const std::optional<std::string> name = EntryNameUtf8(archive, index);
    if (!name || zip_stat_index(archive, index, ZIP_FL_ENC_RAW, &st) != 0) {
        Print("error:  cannot read entry " + std::to_string(index + 1) + ": " + zip_strerror(archive));
        Worse(PK_BADERR);
        return;
    }
    const std::string shownName = Utf8ToAnsi(*name);

    TZipEntryPath path;
    const TEntryNameProblem problem = SplitEntryName(*name, path);
    if (problem != TEntryNameProblem::None) {
        Print("error:  " + shownName + ":  " + ProblemText(problem) + ", entry skipped");
        Worse(PK_ERR);
        return;
    }
    if (IsSymbolicLink(archive, index)) {
        Print("error:  " + shownName + ":  symbolic link not created");
        Worse(PK_ERR);
        return;
    }
    if (const auto tooLong = FTarget->CheckLength(path.Components); tooLong != TEntryLengthProblem::None) {
        Print("error:  " + shownName + ":  " + ProblemText(tooLong) + ", entry skipped");
        Worse(PK_ERR);
        return;
    }

    Report(st, shownName);
    if (FFunctions.ServCallBk)
        FFunctions.ServCallBk(shownName.c_str(), static_cast<unsigned long>(st.size));

    const std::time_t modified = (st.valid & ZIP_STAT_MTIME) ? st.mtime : std::time(nullptr);
    TEntryFolders folders(*FTarget);
    try {
        if (path.IsFolder) {
            auto& folder = FTarget->Folder(path.Components, path.Components.size());
            Print("   creating: " + Shown(FTarget->PathOf(folder)) + "/");
            FFolderTimes.push_back({index, path.Components.size(), modified});
            folders.Landed();
        } else if (ExtractFile(archive, index, st, path, shownName)) {
            folders.Landed();
        }
    } catch (const ETargetFolder& e) {
        Print("error:  cannot create " + Shown(e.what()));
        Worse(PK_DISK);
    }
}

TEntry TUnzipRun::OpenEntry(zip_t* archive, zip_uint64_t index, const zip_stat_t& st, const std::string& shownName) {
    const bool encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    // libzip cannot inflate Deflate64: it hands over the raw data, which InflateEntry decodes.
    const zip_flags_t flags = st.comp_method == ZIP_CM_DEFLATE64 ? ZIP_FL_COMPRESSED : 0;
    if (!encrypted) {
        if (zip_file_t* entry = zip_fopen_index(archive, index, flags))
            return TEntry(entry);
    } else {
        // The password that opened an earlier entry is tried before asking.
        if (!FPassword.empty())
            if (zip_file_t* entry = zip_fopen_index_encrypted(archive, index, flags, FPassword.c_str()))
                return TEntry(entry);
        std::array<char, kPasswordSize> buffer{};
        int answer = -1;
        if (!FNoMorePasswords && FFunctions.password)
            answer = FFunctions.password(buffer.data(), kPasswordSize, "Enter password for: ", shownName.c_str());
        buffer.back() = '\0';
        if (answer < 0)
            FNoMorePasswords = true;
        if (answer < 0 || buffer[0] == '\0') {
            Print("   skipping: " + shownName + "  unable to get password");
            Worse(PK_ERR);
            return nullptr;
        }
        if (zip_file_t* entry = zip_fopen_index_encrypted(archive, index, flags, buffer.data())) {
            FPassword = buffer.data();
            return TEntry(entry);
        }
    }
    const int code = zip_error_code_zip(zip_get_error(archive));
    switch (code) {
    case ZIP_ER_WRONGPASSWD:
        Print("   skipping: " + shownName + "  incorrect password");
        Worse(PK_ERR);
        break;
    case ZIP_ER_COMPNOTSUPP:
        Print("   skipping: " + shownName + "  unsupported compression method " + std::to_string(st.comp_method));
        Worse(PK_ERR);
        break;
    case ZIP_ER_ENCRNOTSUPP:
        Print("   skipping: " + shownName + "  unsupported encryption method");
        Worse(PK_ERR);
        break;
    default:
        Print("error:  " + shownName + ":  " + zip_strerror(archive));
        Worse(PK_BADERR);
    }
    return nullptr;
}

bool TUnzipRun::ExtractFile(zip_t* archive, zip_uint64_t index, const zip_stat_t& st, const TZipEntryPath& path,
                            const std::string& shownName) {
    auto& folder = FTarget->Folder(path.Components, path.Components.size() - 1);
    const std::string name = FTarget->Resolve(folder, path.Components.back());
    const std::string shownPath = Shown(FTarget->PathOf(folder) / name);

    TFileStatus existing;
    if (EntryStatus(folder.Fd.Get(), name, existing) && existing.IsFolder()) {
        Print("error:  cannot create " + shownPath + ": a folder of that name exists");
        Worse(PK_DISK);
        return false;
    }
    TEntry entry = OpenEntry(archive, index, st, shownName);
    if (!entry) {
        TReplacementFile::RemoveLeftover(folder.Fd.Get(), name);
        return false;
    }
    Print((st.comp_method == ZIP_CM_STORE ? " extracting: " : "  inflating: ") + shownPath);

    std::optional<TReplacementFile> file;
    try {
        file.emplace(folder.Fd.Get(), name, shownPath, ExtractedFileReplacement);
    } catch (const EInOutError& e) {
        Print("error:  cannot create " + shownPath + ": " + Reason(e));
        Worse(PK_DISK);
        return false;
    }
    const bool written = st.comp_method == ZIP_CM_DEFLATE64 ? InflateEntry(entry.get(), st, *file, shownName, shownPath)
                                                            : CopyEntry(entry.get(), *file, shownName, shownPath);
    if (!written)
        return false; // the temporary file goes; a file already in place stays
    try {
        file->SetModified((st.valid & ZIP_STAT_MTIME) ? st.mtime : std::time(nullptr));
        file->Commit();
    } catch (const EInOutError& e) {
        Print("error:  writing " + shownPath + ": " + Reason(e));
        Worse(PK_DISK);
        return false;
    }
    FTarget->NoteCreated(folder, name);
    return true;
}

void TUnzipRun::ReadFailed(zip_file_t* entry, const std::string& shownName, const std::string& shownPath) {
    switch (zip_error_code_zip(zip_file_get_error(entry))) {
    case ZIP_ER_CRC:
        Print("error:  " + shownPath + ":  bad CRC, the data is damaged");
        break;
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
        Print("error:  invalid compressed data to inflate " + shownPath);
        break;
    default:
        Print("error:  reading " + shownName + ":  " + zip_file_strerror(entry));
    }
    Worse(PK_ERR);
}

bool TUnzipRun::CopyEntry(zip_file_t* entry, TReplacementFile& file, const std::string& shownName,
                          const std::string& shownPath) {
    for (;;) {
        const zip_int64_t read = zip_fread(entry, FBuffer.data(), FBuffer.size());
        if (read == 0)
            return true;
        if (read < 0) {
            ReadFailed(entry, shownName, shownPath);
            return false;
        }
        try {
            file.Write(FBuffer.data(), static_cast<std::size_t>(read));
        } catch (const EInOutError& e) {
            Print("error:  writing " + shownPath + ": " + Reason(e));
            Worse(PK_DISK);
            return false;
        }
    }
}

// The checks libzip makes of the methods it decodes: the data, then its CRC.
bool TUnzipRun::InflateEntry(zip_file_t* entry, const zip_stat_t& st, TReplacementFile& file,
                             const std::string& shownName, const std::string& shownPath) {
    bool readFailed = false;
    const TInflateSource source = [&](std::uint8_t* buffer, std::size_t size) -> std::size_t {
        const zip_int64_t read = zip_fread(entry, buffer, size);
        readFailed = read < 0;
        return readFailed ? 0 : static_cast<std::size_t>(read);
    };
    uLong crc = crc32(0, nullptr, 0);
    const TInflateSink sink = [&](const std::uint8_t* data, std::size_t length) {
        crc = crc32(crc, data, static_cast<uInt>(length));
        file.Write(reinterpret_cast<const char*>(data), length);
    };
    // A damaged entry must not fill the disk: it gives no more than it says it holds.
    const std::uint64_t limit = (st.valid & ZIP_STAT_SIZE) ? st.size : UINT64_MAX;
    TInflateResult result;
    try {
        result = Inflate64(source, sink, limit);
    } catch (const EInOutError& e) {
        Print("error:  writing " + shownPath + ": " + Reason(e));
        Worse(PK_DISK);
        return false;
    }
    if (readFailed) {
        ReadFailed(entry, shownName, shownPath);
        return false;
    }
    if (result != TInflateResult::Done) {
        Print("error:  invalid compressed data to inflate " + shownPath);
    } else if ((st.valid & ZIP_STAT_CRC) && crc != st.crc) {
        Print("error:  " + shownPath + ":  bad CRC, the data is damaged");
    } else {
        return true;
    }
    Worse(PK_ERR);
    return false;
}

void TUnzipRun::RestoreFolderTimes(zip_t* archive) {
    // Deepest first: filling a folder changes its own time, not its parent's.
    std::stable_sort(FFolderTimes.begin(), FFolderTimes.end(),
                     [](const auto& a, const auto& b) { return a.Depth > b.Depth; });
    for (const auto& [index, depth, modified] : FFolderTimes) {
        const std::optional<std::string> name = EntryNameUtf8(archive, index);
        TZipEntryPath path;
        if (!name || SplitEntryName(*name, path) != TEntryNameProblem::None)
            continue;
        try {
            auto& folder = FTarget->Folder(path.Components, path.Components.size());
            FTarget->KeepNewFolders();
            SetHandleTimes(folder.Fd.Get(), modified);
        } catch (const ETargetFolder&) {
            // already reported when the folder was made
        }
    }
}

UzpVer MakeVersion() {
    UzpVer version;
    version.flag = 2; // uses zlib; not a beta
    version.betalevel = "";
    version.date = ""; // the zip library publishes no release date
    version.zlib_version = zlibVersion();
    version.unzip = {LIBZIP_VERSION_MAJOR, LIBZIP_VERSION_MINOR, LIBZIP_VERSION_MICRO, 0};
    version.windll = {1, 0, 0, 0};
    return version;
}

} // namespace

const UzpVer* UzpVersion() {
    static const UzpVer version = MakeVersion();
    return &version;
}

int Wiz_SingleEntryUnzip(int ifnc, char** ifnv, int xfnc, char** xfnv, DCL* options, USERFUNCTIONS* functions) {
    if (!options || !functions)
        return PK_PARAM;
    if ((ifnc > 0 && ifnv) || (xfnc > 0 && xfnv)) {
        // Name lists are not supported: extracting everything instead would
        // do more than asked.
        return PK_PARAM;
    }
    try {
        return TUnzipRun(*options, *functions).Run();
    } catch (const std::bad_alloc&) {
        return PK_MEM;
    }
}

} // namespace wh
