#include <cstdlib>
#include <string>
#include <vector>

#include "cli/WingharbourProgram.h"
#include "platform/Codepage.h"
#include "platform/Paths.h"

int main(int argc, char** argv) {
    // As for the window: the process tests keep the machine's working directory out of reach.
    if (const char* folder = std::getenv("WINGHARBOUR_COMMON_APPDATA"); folder != nullptr && *folder != '\0')
        wh::OverrideCommonAppDataFolder(wh::Utf8ToAnsi(folder));
    return wh::RunWingharbour(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
