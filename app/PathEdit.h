#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace wh {

// A one-line edit with a picker button beside it (file-name and directory
// edits). The window runs the picker when pickRequested fires; disabling the
// widget disables both parts.
class TPathEdit : public QWidget {
    Q_OBJECT
public:
    explicit TPathEdit(QWidget* parent = nullptr);

    QLineEdit* LineEdit() const { return FEdit; }
    QToolButton* PickerButton() const { return FButton; }
    QString text() const;
    void setText(const QString& text);

signals:
    void textChanged(const QString& text);
    void pickRequested();

private:
    QLineEdit* FEdit;
    QToolButton* FButton;
};

} // namespace wh
