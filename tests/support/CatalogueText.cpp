#include "tests/support/CatalogueText.h"

namespace wh::test {

std::string LiverySection(int n, const TTestLivery& l) {
    std::string text = "[fltsim." + std::to_string(n) + "]\r\n" + l.Extra + "wh_airline=" + l.Airline +
                       "\r\nui_type=" + l.Type + "\r\nwh_designer=" + l.Designer + "\r\nwh_model=" + l.Model +
                       "\r\nwh_status=" + l.Status + "\r\ntexture=" + l.Texture + "\r\nwh_filename=" + l.Texture +
                       ".zip\r\nwh_inclusion=" + l.Inclusion + "\r\nwh_archivesize=" + std::to_string(l.Size) + "\r\n";
    if (!l.Timestamp.empty())
        text += "wh_archivetimestamp=" + l.Timestamp + "\r\n";
    return text;
}

std::string AircraftListText(const std::vector<TTestLivery>& liveries) {
    std::string text;
    for (std::size_t i = 0; i < liveries.size(); ++i)
        text += LiverySection(static_cast<int>(i), liveries[i]);
    return text;
}

std::string PackagesListText(const std::vector<std::string>& directories) {
    std::string text;
    for (std::size_t i = 0; i < directories.size(); ++i)
        text += "[package." + std::to_string(i) + "]\r\ndirectory=" + directories[i] + "\r\n";
    return text;
}

} // namespace wh::test
