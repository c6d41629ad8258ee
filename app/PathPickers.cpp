#include "app/PathPickers.h"

#include <QFileDialog>

#include "app/DialogAnswerer.h"

namespace wh {

namespace {

QString Pick(QFileDialog& dialog) {
    if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().front();
}

} // namespace

QString PickFile(QWidget* parent, const QString& start, const QString& filters) {
    QFileDialog dialog(parent, QString(), start, filters);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Pick(dialog);
}

QString PickFolder(QWidget* parent, const QString& start) {
    QFileDialog dialog(parent, QString(), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return Pick(dialog);
}

} // namespace wh
