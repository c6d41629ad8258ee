#pragma once

#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace wh {

// The log's view. Lines wait here and reach the widget together, at the next
// pump or when the event loop runs again: a widget lays out a line appended
// alone at once, and a batch only when it is shown, which over a load's
// hundreds of status lines costs more than reading the rows.
class TLogView {
public:
    explicit TLogView(QPlainTextEdit& edit) : FEdit(edit) {}
    TLogView(const TLogView&) = delete;
    TLogView& operator=(const TLogView&) = delete;

    void Append(const QString& line);
    void Flush();
    void Clear();

private:
    QPlainTextEdit& FEdit;
    QStringList FPending;
};

} // namespace wh
