#include "cli/HelpText.h"

namespace wh {

const char* const UsageText = "Usage: wingharbour [OPTION...] list|install|update|remove [NAME...]\n"
                              "Try 'wingharbour --help' for more.\n";

const char* const HelpText = "Usage: wingharbour [OPTION...] COMMAND [NAME...]\n"
                             "Lists, installs, updates and removes the liveries of the Wingharbour collection\n"
                             "with the settings and the working folder of the Wingharbour Client.\n"
                             "\n"
                             "Commands:\n"
                             "  list [--new] [--updated] [--installed] [--filter TEXT] [--json]\n"
                             "                   one line per livery: the list's columns, separated by tabs\n"
                             "  install NAME...  install or update the liveries named\n"
                             "  install --new    install every livery that is new\n"
                             "  update           update every installed livery the collection has updated\n"
                             "  remove [--yes] NAME...\n"
                             "                   remove the liveries named, after asking (not with --yes)\n"
                             "A NAME is a livery's texture name, its Livery text or DIRECTORY/TEXTURE.\n"
                             "Install and update ask first when the archives will not fit; --yes answers Yes.\n"
                             "\n"
                             "Options for this run only (the client's settings stay as they are):\n"
                             "  --url URL             load the collection from this web address\n"
                             "  --local PACKAGES_LST  load the collection from the folder of this file\n"
                             "  --fs DIR              the simulator's main folder\n"
                             "  --zap, --no-zap       empty the archives after unpacking them, or keep them\n"
                             "  --manufacturer, --no-manufacturer\n"
                             "                        install under the manufacturer \"Wingharbour\", or not\n"
                             "  --ignorestatus        take every livery not marked pending as released\n"
                             "  --log FILE            write the status lines to FILE as well\n"
                             "  -h, --help            show this help\n"
                             "\n"
                             "Status lines go to standard error. Exit status: 0 when everything asked for\n"
                             "was done, 1 when something failed or was cancelled, 2 for a usage error.\n";

} // namespace wh
