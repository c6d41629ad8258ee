#include "CatalogueText.h"

#include "ProfileText.h"

#include <stdexcept>

namespace wh::sample {

std::string PackagesList(const std::vector<TSamplePackage>& packages) {
    TProfileText list;
    for (std::size_t i = 0; i < packages.size(); ++i)
        list.Section("package." + std::to_string(i))
            .Key("directory", packages[i].Directory)
            .Key("title", packages[i].Manufacturer + " " + packages[i].UIType);
    return list.Text();
}

std::string LiverySection(const std::string& sectionName, const TSamplePackage& p, const TSampleLivery& l,
                          const TArchiveFacts& archive) {
    TProfileText section;
    section.Section(sectionName)
        .Key("title", p.Manufacturer + " " + p.UIType + " " + l.Airline)
        .Key("sim", p.Directory)
        .Key("model", "")
        .Key("panel", "")
        .Key("sound", "")
        .Key("texture", l.Texture)
        .Key("kb_checklists", p.Directory + "_check")
        .Key("kb_reference", p.Directory + "_ref")
        .Key("atc_airline", l.Callsign)
        .Key("atc_id", l.Registration)
        .Key("atc_flight_number", l.FlightNumber)
        .Key("ui_manufacturer", p.Manufacturer)
        .Key("ui_type", p.UIType)
        .Key("ui_variation", l.Airline)
        .Key("description", l.Airline + " colours on the " + p.UIType + ", painted by " + l.Designer + ".")
        .Key("wh_airline", l.Airline)
        .Key("wh_designer", l.Designer)
        .Key("wh_filename", l.FileName)
        .Key("wh_model", l.Model)
        .Key("wh_status", l.Status)
        .Key("wh_archivesize", archive.Size)
        .Key("wh_archivetimestamp", archive.Timestamp)
        .Key("wh_inclusion", l.Inclusion);
    return section.Text();
}

std::string AircraftList(const TSamplePackage& p, std::int32_t baseTimestamp,
                         const std::vector<TArchiveFacts>& archives) {
    if (archives.size() != p.Liveries.size())
        throw std::logic_error("every livery of " + p.Directory + " needs its archive facts");
    TProfileText head;
    head.Comment("Liveries of the " + p.Manufacturer + " " + p.UIType + " package");
    head.Section("Wingharbour").Key("wh_basetimestamp", baseTimestamp);
    std::string text = head.Text();
    for (std::size_t i = 0; i < p.Liveries.size(); ++i)
        text += "\r\n" + LiverySection("fltsim." + std::to_string(i), p, p.Liveries[i], archives[i]);
    return text;
}

} // namespace wh::sample
