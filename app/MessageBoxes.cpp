#include "app/MessageBoxes.h"

#include <QMessageBox>

#include "app/MessageRules.h"
#include "platform/Codepage.h"
#include "platform/SingleInstance.h"

namespace wh {

namespace {

QString Widen(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

} // namespace

void ShowPlainMessage(QWidget* parent, const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, Widen(title), Widen(text), QMessageBox::Ok, parent);
    box.exec();
}

void ShowErrorBox(QWidget* parent, const std::string& title, const std::string& message) {
    QMessageBox::critical(parent, Widen(title), Widen(ErrorBoxText(message)), QMessageBox::Ok);
}

bool AcquireSingleInstance(TSingleInstanceGuard& guard, const std::string& lockFile, const std::string& title) {
    if (guard.Acquire(lockFile))
        return true;
    ShowPlainMessage(nullptr, title, AnotherInstanceMessage);
    return false;
}

} // namespace wh
