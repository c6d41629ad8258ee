#include "platform/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace wh {

namespace {

int Descriptor(TStandardStream stream) {
    switch (stream) {
    case TStandardStream::Input:
        return STDIN_FILENO;
    case TStandardStream::Output:
        return STDOUT_FILENO;
    case TStandardStream::Error:
        break;
    }
    return STDERR_FILENO;
}

} // namespace

bool IsTerminal(TStandardStream stream) { return ::isatty(Descriptor(stream)) == 1; }

int TerminalColumns(TStandardStream stream) {
    struct winsize size {};
    if (::ioctl(Descriptor(stream), TIOCGWINSZ, &size) != 0)
        return 0;
    return size.ws_col;
}

} // namespace wh
