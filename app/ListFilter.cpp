#include "app/ListFilter.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>

#include "app/AircraftListModel.h"
#include "catalogue/RowFilter.h"
#include "platform/Codepage.h"

namespace wh {

std::optional<std::string> FilterNeedle(const QString& typed) {
    // Accents are dropped anyway; taking them off first lets a letter the code
    // page lacks (ő, ā) find its base letter.
    QString bare;
    for (QChar c : typed.normalized(QString::NormalizationForm_D))
        if (!c.isMark())
            bare += c;
    std::string ansi;
    for (const uint cp : bare.toUcs4()) {
        std::string utf8;
        AppendUtf8(utf8, cp);
        const std::string byte = Utf8ToAnsi(utf8);
        if (byte == "?" && cp != '?')
            return std::nullopt;
        ansi += byte;
    }
    return FoldFilterText(ansi);
}

TListFilter::TListFilter(QAbstractItemView& list, TAircraftListModel& model, QWidget* parent)
    : QObject(parent), FList(list), FModel(model), FEdit(new QLineEdit(parent)) {
    FEdit->setObjectName(QStringLiteral("edFilter"));
    FEdit->setPlaceholderText(QStringLiteral("Filter"));
    FEdit->setClearButtonEnabled(true);
    // Window shortcuts of a hidden field are inactive: both keys act only
    // while the list's page shows.
    auto* find = new QShortcut(QKeySequence::Find, FEdit, nullptr, nullptr, Qt::WindowShortcut);
    connect(find, &QShortcut::activated, FEdit, [this] {
        FEdit->setFocus(Qt::ShortcutFocusReason);
        FEdit->selectAll();
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), FEdit, nullptr, nullptr, Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, FEdit, &QLineEdit::clear);
    connect(FEdit, &QLineEdit::textChanged, this, &TListFilter::TextChanged);
    connect(&FModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { FCurrent = nullptr; });
}

void TListFilter::TextChanged(const QString& text) {
    // Leaving the view, a hidden row takes the view's current row with it; it
    // comes back with the row, as in a list that only hid the row.
    const QModelIndex current = FList.currentIndex();
    if (const int position = FModel.PositionOf(current); position >= 0) {
        FCurrent = &FModel.Record(position);
        FCurrentSelected = FList.selectionModel()->isSelected(current);
    }
    FModel.SetFilter([needle = FilterNeedle(text)](const std::string& folded) {
        return needle && RowMatchesFilter(folded, *needle);
    });
    if (FCurrent && !FList.currentIndex().isValid()) {
        const QModelIndex back = FModel.IndexOf(*FCurrent);
        const QItemSelectionModel::SelectionFlags select =
            FCurrentSelected ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                             : QItemSelectionModel::SelectionFlags(QItemSelectionModel::NoUpdate);
        if (back.isValid())
            FList.selectionModel()->setCurrentIndex(back, select);
    }
    if (FChanged)
        FChanged();
}

} // namespace wh
