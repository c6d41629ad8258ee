#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "catalogue/Aircraft.h"

namespace wh {

// lvAircraft's rows: the model owns the records and their ticks. The rows
// have a display order (a permutation of the records, which never move) and
// the filter leaves some of them out; the view sees only the rows shown, the
// core walks them all by display position. Texts are made from the records
// when asked for; only the filter's folded copies are kept.
class TAircraftListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using TTexts = std::array<std::string, 8>;
    // Whether a row is shown, given its texts as FoldRowTexts folds them.
    using TShows = std::function<bool(const std::string& folded)>;
    static constexpr int ColumnCount = static_cast<int>(std::tuple_size_v<TTexts>);

    explicit TAircraftListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Every row, shown or not, by display position.
    int RecordCount() const { return static_cast<int>(FOrder.size()); }
    TWHAircraft& Record(int position) const { return *RowAt(position).Aircraft; }
    bool Checked(int position) const { return RowAt(position).Checked; }
    void SetChecked(int position, bool checked);
    bool Shown(int position) const { return RowAt(position).Shown; }
    // The column's text, Windows-1252, as the view shows it.
    std::string Text(int position, int column) const;
    // The display position of a row of the view, -1 for none.
    int PositionOf(const QModelIndex& index) const;
    // The view's row of the record, column 0; invalid while the filter hides it.
    QModelIndex IndexOf(const TWHAircraft& aircraft) const;

    // After the row's record changed: its texts as they are now, Windows-1252.
    // The filter judges the row anew.
    void SetTexts(int position, const TTexts& texts);
    // The Size column's, the one the texts were last made with.
    void SetThousandsSeparator(const std::string& separator) { FThousandsSeparator = separator; }

    // A load is one reset of the view: rows added or cleared meanwhile raise
    // no signal of their own.
    void BeginLoad();
    void EndLoad();
    void Clear();
    // Adds the record as the last row, with its texts as SetTexts takes them.
    void Append(std::unique_ptr<TWHAircraft> aircraft, const TTexts& texts);

    // Inside, ticks raise no signal; the end tells the view of them at once.
    void BeginChanges();
    void EndChanges();
    bool ChangesBracketed() const { return FChangeDepth > 0; }

    // Shows the rows in this order: element k is the display position of the
    // row to show at k.
    void Arrange(const std::vector<int>& order);
    // Judges every row anew.
    void SetFilter(TShows shows);

signals:
    // A tick or a row's texts changed outside a change bracket and a load.
    void rowChanged();

private:
    struct TRow {
        std::unique_ptr<TWHAircraft> Aircraft;
        std::string Folded;
        bool Checked = false;
        bool Shown = true;
    };

    const TRow& RowAt(int position) const { return FRows[FOrder[position]]; }
    TRow& RowAt(int position) { return FRows[FOrder[position]]; }
    // The view's row of a display position, -1 while the filter hides it.
    int ViewRowOf(int position) const;
    void Fold(TRow& row, const TTexts& texts) const;
    // Lists the display positions of the rows shown.
    void CollectShown();
    // A change of the order or of the rows shown, the view's current row and
    // selection kept on their records.
    void ChangeLayout(const std::function<void()>& change, LayoutChangeHint hint);
    // A change inside a change bracket, told to the view at its end.
    void Defer(int position);

    std::vector<TRow> FRows;          // in the order they were added
    std::vector<int> FOrder;          // display position -> index into FRows
    std::vector<int> FShownPositions; // view row -> display position, ascending
    TShows FShows;
    std::string FThousandsSeparator;
    bool FLoading = false;
    int FChangeDepth = 0;
    int FFirstDeferred = -1; // display positions changed inside the bracket
    int FLastDeferred = -1;
};

} // namespace wh
