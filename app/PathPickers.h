#pragma once

#include <QString>

class QWidget;

namespace wh {

// The Welcome page's pickers; an empty text when cancelled. The file picker
// opens at start (a path or a bare name) with the given name filters.
QString PickFile(QWidget* parent, const QString& start, const QString& filters);
QString PickFolder(QWidget* parent, const QString& start);

} // namespace wh
