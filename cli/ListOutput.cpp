#include "cli/ListOutput.h"

#include <cstdio>

#include "catalogue/AircraftRows.h"
#include "cli/CatalogueRows.h"
#include "cli/StatusLines.h"
#include "platform/Codepage.h"

namespace wh {

namespace {

constexpr const char* ColumnKeys[8] = {"livery",   "type",  "status", "installed",
                                       "designer", "model", "size",   "included"};

std::string UnicodeEscape(char32_t cp) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04X", static_cast<unsigned>(cp));
    return text;
}

} // namespace

std::string ListLine(const std::array<std::string, 8>& texts) {
    std::string line;
    for (std::size_t column = 0; column < texts.size(); ++column)
        line += (column == 0 ? "" : "\t") + PrintableText(texts[column]);
    return line + "\n";
}

std::string JsonString(const std::string& ansi) {
    const std::string utf8 = AnsiToUtf8(ansi);
    std::string json = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8(utf8, i, cp);
        if (length == 0) { // not made by the conversion; kept out all the same
            json += UnicodeEscape(0xFFFD);
            ++i;
            continue;
        }
        if (cp == '"' || cp == '\\')
            json += std::string("\\") + static_cast<char>(cp);
        else if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F))
            json += UnicodeEscape(cp);
        else
            json.append(utf8, i, length);
        i += length;
    }
    return json + "\"";
}

std::string ListJson(const TCatalogueRows& rows, const std::vector<int>& indexes) {
    std::string json = "[";
    for (std::size_t n = 0; n < indexes.size(); ++n) {
        const int index = indexes[n];
        json += n == 0 ? "\n  {" : ",\n  {";
        const auto& texts = rows.RowTexts(index);
        for (std::size_t column = 0; column < texts.size(); ++column)
            json += std::string(column == 0 ? "\"" : ", \"") + ColumnKeys[column] + "\": " + JsonString(texts[column]);
        const TWHAircraft& aircraft = rows.RowAircraft(index);
        json += ", \"directory\": " + JsonString(aircraft.Directory) + ", \"texture\": " + JsonString(aircraft.Texture);
        json += "}";
    }
    return json + (indexes.empty() ? "]\n" : "\n]\n");
}

} // namespace wh
