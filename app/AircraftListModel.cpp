#include "app/AircraftListModel.h"

#include <algorithm>

#include "catalogue/RowFilter.h"
#include "catalogue/RowTexts.h"
#include "platform/Codepage.h"

namespace wh {

namespace {

constexpr const char* Captions[TAircraftListModel::ColumnCount] = {"Livery",   "Type",  "Status", "Installed",
                                                                   "Designer", "Model", "Size",   "Included"};

} // namespace

int TAircraftListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FShownPositions.size());
}

int TAircraftListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

int TAircraftListModel::PositionOf(const QModelIndex& index) const {
    // A view may still hold an index of a row that the last change took away.
    if (!index.isValid() || index.model() != this || index.row() >= rowCount() || index.column() >= ColumnCount)
        return -1;
    return FShownPositions[index.row()];
}

QModelIndex TAircraftListModel::IndexOf(const TWHAircraft& aircraft) const {
    for (int position = 0; position < RecordCount(); ++position)
        if (&Record(position) == &aircraft) {
            const int viewRow = ViewRowOf(position);
            return viewRow < 0 ? QModelIndex() : index(viewRow, 0);
        }
    return {};
}

QVariant TAircraftListModel::data(const QModelIndex& index, int role) const {
    const int position = PositionOf(index);
    if (position < 0)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(AnsiToUtf8(Text(position, index.column())));
    if (role == Qt::CheckStateRole && index.column() == 0)
        return static_cast<int>(Checked(position) ? Qt::Checked : Qt::Unchecked);
    return {};
}

bool TAircraftListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int position = PositionOf(index);
    if (position < 0 || role != Qt::CheckStateRole || index.column() != 0)
        return false;
    SetChecked(position, value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags TAircraftListModel::flags(const QModelIndex& index) const {
    if (PositionOf(index) < 0)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant TAircraftListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(Captions[section]);
}

void TAircraftListModel::SetChecked(int position, bool checked) {
    TRow& row = RowAt(position);
    if (row.Checked == checked)
        return;
    row.Checked = checked;
    if (FLoading)
        return;
    if (FChangeDepth > 0) {
        Defer(position);
        return;
    }
    const int viewRow = ViewRowOf(position);
    if (viewRow >= 0)
        emit dataChanged(index(viewRow, 0), index(viewRow, 0), {Qt::CheckStateRole});
    emit rowChanged();
}

std::string TAircraftListModel::Text(int position, int column) const {
    return AircraftRowText(Record(position), column, FThousandsSeparator);
}

void TAircraftListModel::SetTexts(int position, const TTexts& texts) {
    TRow& row = RowAt(position);
    const bool wasShown = row.Shown;
    Fold(row, texts);
    if (FLoading)
        return;
    if (row.Shown != wasShown) {
        const auto at = std::lower_bound(FShownPositions.begin(), FShownPositions.end(), position);
        const int viewRow = static_cast<int>(at - FShownPositions.begin());
        if (row.Shown) {
            beginInsertRows(QModelIndex(), viewRow, viewRow);
            FShownPositions.insert(at, position);
            endInsertRows();
        } else {
            beginRemoveRows(QModelIndex(), viewRow, viewRow);
            FShownPositions.erase(at);
            endRemoveRows();
        }
    } else if (FChangeDepth > 0) {
        Defer(position);
    } else if (const int viewRow = ViewRowOf(position); viewRow >= 0) {
        emit dataChanged(index(viewRow, 0), index(viewRow, ColumnCount - 1));
    }
    if (FChangeDepth == 0)
        emit rowChanged();
}

void TAircraftListModel::BeginLoad() {
    if (FLoading)
        return;
    beginResetModel();
    FLoading = true;
}

void TAircraftListModel::EndLoad() {
    if (!FLoading)
        return;
    CollectShown();
    FLoading = false;
    endResetModel();
}

void TAircraftListModel::Clear() {
    if (!FLoading)
        beginResetModel();
    FShownPositions.clear();
    FOrder.clear();
    FRows.clear();
    FFirstDeferred = FLastDeferred = -1;
    if (!FLoading)
        endResetModel();
}

void TAircraftListModel::Append(std::unique_ptr<TWHAircraft> aircraft, const TTexts& texts) {
    TRow row;
    row.Aircraft = std::move(aircraft);
    Fold(row, texts);
    const bool shown = row.Shown;
    const int viewRow = rowCount();
    const bool tell = shown && !FLoading;
    if (tell)
        beginInsertRows(QModelIndex(), viewRow, viewRow);
    FRows.push_back(std::move(row));
    FOrder.push_back(static_cast<int>(FRows.size()) - 1);
    if (shown)
        FShownPositions.push_back(RecordCount() - 1);
    if (tell)
        endInsertRows();
}

void TAircraftListModel::BeginChanges() { ++FChangeDepth; }

void TAircraftListModel::EndChanges() {
    if (FChangeDepth == 0 || --FChangeDepth > 0 || FFirstDeferred < 0)
        return;
    const auto first = std::lower_bound(FShownPositions.begin(), FShownPositions.end(), FFirstDeferred);
    const auto last = std::upper_bound(first, FShownPositions.end(), FLastDeferred);
    FFirstDeferred = FLastDeferred = -1;
    if (first != last)
        emit dataChanged(index(static_cast<int>(first - FShownPositions.begin()), 0),
                         index(static_cast<int>(last - FShownPositions.begin()) - 1, ColumnCount - 1));
}

void TAircraftListModel::Arrange(const std::vector<int>& order) {
    ChangeLayout(
        [&] {
            std::vector<int> arranged;
            arranged.reserve(order.size());
            for (const int position : order)
                arranged.push_back(FOrder[position]);
            FOrder = std::move(arranged);
            CollectShown();
        },
        VerticalSortHint);
}

void TAircraftListModel::SetFilter(TShows shows) {
    FShows = std::move(shows);
    std::vector<bool> shown(FRows.size());
    bool changed = false;
    for (std::size_t i = 0; i < FRows.size(); ++i) {
        shown[i] = FShows(FRows[i].Folded);
        changed |= shown[i] != FRows[i].Shown;
    }
    // Most keystrokes of a word leave the rows as they are.
    if (!changed)
        return;
    ChangeLayout(
        [&] {
            for (std::size_t i = 0; i < FRows.size(); ++i)
                FRows[i].Shown = shown[i];
            CollectShown();
        },
        NoLayoutChangeHint);
}

int TAircraftListModel::ViewRowOf(int position) const {
    const auto at = std::lower_bound(FShownPositions.begin(), FShownPositions.end(), position);
    return at != FShownPositions.end() && *at == position ? static_cast<int>(at - FShownPositions.begin()) : -1;
}

void TAircraftListModel::Fold(TRow& row, const TTexts& texts) const {
    row.Folded = FoldRowTexts(texts);
    row.Shown = !FShows || FShows(row.Folded);
}

void TAircraftListModel::CollectShown() {
    FShownPositions.clear();
    for (int position = 0; position < RecordCount(); ++position)
        if (RowAt(position).Shown)
            FShownPositions.push_back(position);
}

void TAircraftListModel::ChangeLayout(const std::function<void()>& change, LayoutChangeHint hint) {
    if (FLoading) {
        change();
        return;
    }
    emit layoutAboutToBeChanged({}, hint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> records;
    records.reserve(before.size());
    for (const QModelIndex& index : before) {
        const int position = PositionOf(index);
        records.push_back(position < 0 ? -1 : FOrder[position]);
    }
    change();
    QModelIndexList after;
    if (!before.isEmpty()) {
        std::vector<int> positionOf(FRows.size());
        for (int position = 0; position < RecordCount(); ++position)
            positionOf[FOrder[position]] = position;
        after.reserve(before.size());
        for (qsizetype k = 0; k < before.size(); ++k) {
            const int viewRow = records[k] < 0 ? -1 : ViewRowOf(positionOf[records[k]]);
            after.push_back(viewRow < 0 ? QModelIndex() : index(viewRow, before[k].column()));
        }
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, hint);
}

void TAircraftListModel::Defer(int position) {
    FFirstDeferred = FFirstDeferred < 0 ? position : std::min(FFirstDeferred, position);
    FLastDeferred = std::max(FLastDeferred, position);
}

} // namespace wh
