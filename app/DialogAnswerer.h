#pragma once

#include <functional>

class QDialog;

namespace wh {

// Replaces exec() of the program's modal dialogs (message boxes and pickers)
// while set, so that a test gives the answer before the dialog opens: it sees
// the dialog as built and returns what exec() would (on a picker, after
// selecting the path to return). An empty answerer brings the user back.
using TDialogAnswerer = std::function<int(QDialog& dialog)>;
void SetDialogAnswerer(TDialogAnswerer answerer);

int ExecDialog(QDialog& dialog);

} // namespace wh
