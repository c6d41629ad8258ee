#include <gtest/gtest.h>

#include "catalogue/Aircraft.h"
#include "catalogue/CollectionLayout.h"

namespace wh {
namespace {

TEST(CollectionLayout, ComposesWithBackslashesFromTheGivenFolders) {
    struct TCase {
        std::string FSDir, Texture, Cfg, Folder, Archive, ArchiveName;
    };
    const TCase cases[] = {
        {"C:\\FS", "ABC", "C:\\FS\\aircraft\\a320\\aircraft.cfg", "C:\\FS\\aircraft\\a320\\texture.ABC",
         "W\\a320\\ABC.zip", "a320\\ABC.zip"},
        {" C:\\FS\\ ", "ABC", "C:\\FS\\aircraft\\a320\\aircraft.cfg", "C:\\FS\\aircraft\\a320\\texture.ABC",
         "W\\a320\\ABC.zip", "a320\\ABC.zip"},
        {"/opt/fs", "ABC", "/opt/fs\\aircraft\\a320\\aircraft.cfg", "/opt/fs\\aircraft\\a320\\texture.ABC",
         "W\\a320\\ABC.zip", "a320\\ABC.zip"},
        {"C:\\FS", "", "C:\\FS\\aircraft\\a320\\aircraft.cfg", "C:\\FS\\aircraft\\a320\\texture.", "W\\a320\\.zip",
         "a320\\.zip"},
    };
    for (const auto& c : cases) {
        TWHAircraft a;
        a.Directory = "a320";
        a.Texture = c.Texture;
        EXPECT_EQ(AircraftCfgPath(c.FSDir, a.Directory), c.Cfg) << c.FSDir;
        EXPECT_EQ(TextureFolderPath(a, c.FSDir), c.Folder) << c.FSDir;
        EXPECT_EQ(ArchiveCopyPath(a, "W\\"), c.Archive) << c.FSDir;
        EXPECT_EQ(LiveryArchiveName(a), c.ArchiveName) << c.FSDir;
    }
    EXPECT_EQ(AircraftListName("a320"), "a320\\aircraft.lst");
    EXPECT_EQ(BaseArchiveName("a320"), "a320\\base.zip");
}

} // namespace
} // namespace wh
