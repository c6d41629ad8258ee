#include "files/AtomicWrite.h"

#include "files/ReplacementFile.h"
#include "platform/Errors.h"
#include "platform/SystemError.h"

namespace wh {

int WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    if (target.empty() || !target.has_filename())
        return ENOENT;
    try {
        TReplacementFile file(target, target.string(), UserFileReplacement);
        file.Write(bytes);
        file.Commit();
        return 0;
    } catch (const EInOutError& e) {
        return e.ErrorCode() != 0 ? e.ErrorCode() : EIO;
    }
}

} // namespace wh
