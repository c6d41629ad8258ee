#include "app/PathEdit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace wh {

TPathEdit::TPathEdit(QWidget* parent) : QWidget(parent), FEdit(new QLineEdit(this)), FButton(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(FEdit, 1);
    layout->addWidget(FButton);
    FButton->setText(QStringLiteral("..."));
    FButton->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(FEdit);
    connect(FEdit, &QLineEdit::textChanged, this, &TPathEdit::textChanged);
    connect(FButton, &QToolButton::clicked, this, &TPathEdit::pickRequested);
}

QString TPathEdit::text() const { return FEdit->text(); }

void TPathEdit::setText(const QString& text) { FEdit->setText(text); }

} // namespace wh
