#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QObject>

class QAbstractItemView;
class QLineEdit;
class QString;
class QWidget;

namespace wh {

class TAircraftListModel;
class TWHAircraft;

// What a row's folded texts must contain for the typed text: nothing when a
// character has no Windows-1252 form even without its accents, as no row
// can hold it.
std::optional<std::string> FilterNeedle(const QString& typed);

// The filter field above the aircraft list: the rows whose texts contain what
// is typed stay shown and the others are hidden, at every keystroke. The
// model keeps judging rows added or refreshed later, so a load or an install
// keeps the filter. Ctrl+F focuses it and Escape clears it, while it is on
// the page shown.
class TListFilter final : public QObject {
public:
    TListFilter(QAbstractItemView& list, TAircraftListModel& model, QWidget* parent);

    QLineEdit* Edit() const { return FEdit; }
    // Runs once after the text changed and every row was judged anew.
    void SetChangeHandler(std::function<void()> handler) { FChanged = std::move(handler); }

private:
    void TextChanged(const QString& text);

    QAbstractItemView& FList;
    TAircraftListModel& FModel;
    QLineEdit* FEdit;
    // The record of the list's current row, kept while the filter hides it.
    const TWHAircraft* FCurrent = nullptr;
    bool FCurrentSelected = false;
    std::function<void()> FChanged;
};

} // namespace wh
