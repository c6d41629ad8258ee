#pragma once

#include <string>

class QWidget;

namespace wh {

class TSingleInstanceGuard;

// A plain message box with an OK button (the two start-up stops). Texts are
// Windows-1252.
void ShowPlainMessage(QWidget* parent, const std::string& title, const std::string& text);

// The error box: the message under the application's title, with the final
// "." rule applied.
void ShowErrorBox(QWidget* parent, const std::string& title, const std::string& message);

// The warning box with Yes and No; true only when Yes is pressed (No, Escape
// and closing the box all count as No).
bool AskWarningYesNo(QWidget* parent, const std::string& title, const std::string& text);

// Takes the machine-wide single-instance lock; when another copy holds it,
// tells the user and returns false.
bool AcquireSingleInstance(TSingleInstanceGuard& guard, const std::string& lockFile, const std::string& title);

} // namespace wh
