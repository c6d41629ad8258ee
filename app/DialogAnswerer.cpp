#include "app/DialogAnswerer.h"

#include <QDialog>

namespace wh {

namespace {

TDialogAnswerer& Answerer() {
    static TDialogAnswerer answerer;
    return answerer;
}

} // namespace

void SetDialogAnswerer(TDialogAnswerer answerer) { Answerer() = std::move(answerer); }

int ExecDialog(QDialog& dialog) { return Answerer() ? Answerer()(dialog) : dialog.exec(); }

} // namespace wh
