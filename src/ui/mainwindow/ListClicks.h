#pragma once
// The user's choice of an entry in a list, as one event: a click on an entry
// (also on the one already current) or a move of the current entry by keys.
// Changes the program makes itself are left out through `ignore`.

#include <functional>

class QAbstractItemView;
class QModelIndex;

namespace hexlane::ui {

// Calls `chosen` once per choice. Install after the view has its model.
void OnEntryChosen(QAbstractItemView* view, std::function<bool()> ignore,
                   std::function<void(const QModelIndex&)> chosen);

}  // namespace hexlane::ui
