#pragma once

#include "Collection.h"
#include "ZipWriter.h"

#include <string>
#include <vector>

namespace wh::sample {

// The aircraft's own files as base.zip holds them: aircraft.cfg with the
// default livery, flight model, model, panel and sound folders and the
// default texture folder. The model and flight-model files are placeholders.
std::vector<TZipEntry> BaseFiles(const TSamplePackage& package);

// The base's aircraft.cfg: its [fltsim.0] is the default house livery.
std::string BaseAircraftCfg(const TSamplePackage& package);

// What a livery's archive holds: the folder "texture." + Texture and its pictures.
std::vector<TZipEntry> LiveryFiles(const TSampleLivery& livery);

} // namespace wh::sample
