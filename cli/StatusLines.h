#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace wh {

// What the program tells on standard error: the lines the window would log,
// its own notes and errors, a copy of all of them in the file --log names,
// and on a terminal one line of progress, updated in place below them.
// Texts are Windows-1252; they leave as UTF-8, with control characters
// (which a catalogue might carry into a terminal) made harmless.
class TStatusLines {
public:
    // columns: the terminal's width, 0 when unknown or not a terminal.
    TStatusLines(bool terminal, int columns) : FTerminal(terminal), FColumns(columns) {}

    bool Terminal() const { return FTerminal; }
    // Created or emptied. Raises EFOpenError naming the file when it cannot be.
    void OpenLog(const std::string& path);

    // Raises EWriteError when the log's copy cannot be written.
    void Line(const std::string& text);
    // On a terminal the progress line is drawn anew; otherwise the text is a
    // line of its own. Progress goes to no log.
    void Progress(const std::string& text);
    // The progress line stays as last drawn; what follows goes below it.
    void EndProgress();

private:
    struct TCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    void DrawProgress();

    bool FTerminal;
    int FColumns;
    std::string FProgress; // UTF-8, as drawn; empty when none is shown
    std::string FLogPath;
    std::unique_ptr<std::FILE, TCloser> FLog;
};

// The text as it may be shown: tabs and other control characters become
// blanks, the bytes Windows-1252 leaves undefined "?"; converted to UTF-8.
std::string PrintableText(const std::string& ansi);

} // namespace wh
