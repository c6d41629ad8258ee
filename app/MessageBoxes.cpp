#include "app/MessageBoxes.h"

#include <QMessageBox>

#include "app/DialogAnswerer.h"
#include "install/MessageRules.h"
#include "platform/Codepage.h"
#include "platform/SingleInstance.h"

namespace wh {

namespace {

QString Widen(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

// Messages quote typed URLs, arguments and file names; none of it is markup.
void ShowBox(QWidget* parent, QMessageBox::Icon icon, const std::string& title, const std::string& text) {
    QMessageBox box(icon, Widen(title), Widen(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    ExecDialog(box);
}

} // namespace

void ShowPlainMessage(QWidget* parent, const std::string& title, const std::string& text) {
    ShowBox(parent, QMessageBox::NoIcon, title, text);
}

void ShowErrorBox(QWidget* parent, const std::string& title, const std::string& message) {
    ShowBox(parent, QMessageBox::Critical, title, ErrorBoxText(message));
}

bool AskWarningYesNo(QWidget* parent, const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, Widen(title), Widen(text), QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    return ExecDialog(box) == QMessageBox::Yes;
}

bool AcquireSingleInstance(TSingleInstanceGuard& guard, const std::string& lockFile, const std::string& title) {
    if (guard.Acquire(lockFile))
        return true;
    ShowPlainMessage(nullptr, title, AnotherInstanceMessage);
    return false;
}

} // namespace wh
