#pragma once

namespace wh {

// The three streams a program starts with.
enum class TStandardStream { Input, Output, Error };

// The stream is a terminal, so a person reads (or types) what passes through it.
bool IsTerminal(TStandardStream stream);

// The terminal's width in columns; 0 when the stream is no terminal or it
// does not say.
int TerminalColumns(TStandardStream stream);

} // namespace wh
