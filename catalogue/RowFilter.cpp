#include "catalogue/RowFilter.h"

namespace wh {

namespace {

// What each byte folds to.
class TFoldTable {
public:
    TFoldTable() {
        for (int b = 0; b < 256; ++b)
            FSelf[b] = static_cast<char>(b);
        for (int b = 0; b < 256; ++b)
            FTo[b] = std::string_view(&FSelf[b], 1);
        for (int b = 'A'; b <= 'Z'; ++b)
            FTo[b] = std::string_view(&FSelf[b + 32], 1);
        // Þ has no plain spelling in the collation: it only loses its case.
        FTo[0xDE] = std::string_view(&FSelf[0xFE], 1);
        static constexpr std::pair<std::string_view, std::string_view> Letters[] = {
            {"\xC0\xC1\xC2\xC3\xC4\xC5\xE0\xE1\xE2\xE3\xE4\xE5\xAA", "a"},
            {"\xC6\xE6", "ae"},
            {"\xC7\xE7", "c"},
            {"\xD0\xF0", "d"},
            {"\xC8\xC9\xCA\xCB\xE8\xE9\xEA\xEB", "e"},
            {"\xCC\xCD\xCE\xCF\xEC\xED\xEE\xEF", "i"},
            {"\xD1\xF1", "n"},
            {"\xD2\xD3\xD4\xD5\xD6\xD8\xF2\xF3\xF4\xF5\xF6\xF8\xBA", "o"},
            {"\x8C\x9C", "oe"},
            {"\x8A\x9A", "s"},
            {"\xDF", "ss"},
            {"\x99", "tm"},
            {"\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC", "u"},
            {"\xDD\xFD\xFF\x9F", "y"},
            {"\x8E\x9E", "z"},
            {"\xB9", "1"},
            {"\xB2", "2"},
            {"\xB3", "3"},
            {"\x85", "..."},
            {"\xA0", " "},
            {"\x81\x8D\x8F\x90\x9D\xAD", ""},
        };
        for (const auto& [bytes, folded] : Letters)
            for (char b : bytes)
                FTo[static_cast<unsigned char>(b)] = folded;
    }

    std::string_view operator[](char c) const { return FTo[static_cast<unsigned char>(c)]; }

private:
    std::array<char, 256> FSelf{};
    std::array<std::string_view, 256> FTo{};
};

const TFoldTable& FoldTable() {
    static const TFoldTable table;
    return table;
}

// Between two columns' texts in a row's folded text: the byte folds to
// nothing, so neither a folded text nor a folded filter holds it, and no
// match runs across it.
constexpr char ColumnBreak = '\x81';

void AppendFolded(std::string& folded, std::string_view ansi) {
    const TFoldTable& table = FoldTable();
    for (char c : ansi)
        folded += table[c];
}

} // namespace

std::string FoldFilterText(std::string_view ansi) {
    std::string folded;
    folded.reserve(ansi.size());
    AppendFolded(folded, ansi);
    return folded;
}

std::string FoldRowTexts(const std::array<std::string, 8>& texts) {
    std::string folded;
    for (std::size_t column = 0; column < texts.size(); ++column) {
        if (column > 0)
            folded += ColumnBreak;
        AppendFolded(folded, texts[column]);
    }
    folded.shrink_to_fit();
    return folded;
}

bool RowMatchesFilter(std::string_view foldedRow, std::string_view foldedFilter) {
    return foldedRow.find(foldedFilter) != std::string_view::npos;
}

} // namespace wh
