#include "archive/ZipEntryName.h"

#include <clocale>
#include <cwctype>

#include "platform/Codepage.h"

namespace wh {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The C library's Unicode case table; the program's own locale may be "C".
locale_t Utf8Locale() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

} // namespace

TEntryNameProblem SplitEntryName(std::string_view name, TZipEntryPath& path) {
    path = TZipEntryPath{};
    if (name.empty())
        return TEntryNameProblem::Empty;
    if (IsSeparator(name.front()))
        return TEntryNameProblem::Absolute;
    if (name.size() >= 2 && IsAsciiLetter(name[0]) && name[1] == ':')
        return TEntryNameProblem::DriveLetter;
    path.IsFolder = IsSeparator(name.back());

    std::size_t pos = 0;
    while (pos <= name.size()) {
        std::size_t end = pos;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        const std::string_view component = name.substr(pos, end - pos);
        if (component == "..")
            return TEntryNameProblem::ParentFolder;
        if (!component.empty() && component != ".")
            path.Components.emplace_back(component);
        pos = end + 1;
    }
    if (path.Components.empty())
        return TEntryNameProblem::Empty;
    return TEntryNameProblem::None;
}

std::string FoldNameCase(std::string_view utf8) {
    const locale_t locale = Utf8Locale();
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(utf8, i, cp);
        if (len == 0) {   // not UTF-8: compare the byte as it is
            out += utf8[i++];
            continue;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp);
        } else {
            const auto lower = locale ? ::towlower_l(static_cast<wint_t>(cp), locale) : static_cast<wint_t>(cp);
            AppendUtf8(out, static_cast<char32_t>(lower));
        }
        i += len;
    }
    return out;
}

} // namespace wh
