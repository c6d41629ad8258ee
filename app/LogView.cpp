#include "app/LogView.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace wh {

void TLogView::Append(const QString& line) {
    if (FPending.isEmpty())
        QTimer::singleShot(0, &FEdit, [this] { Flush(); });
    FPending.append(line);
}

void TLogView::Flush() {
    if (FPending.isEmpty())
        return;
    FEdit.appendPlainText(FPending.join(QLatin1Char('\n')));
    FPending.clear();
}

void TLogView::Clear() {
    FPending.clear();
    FEdit.clear();
}

} // namespace wh
