#pragma once
// Lists of names shown sorted alphabetically as the user reads them: letters
// compared without regard to case, namesakes kept in the order given.

#include <QString>
#include <QStringList>

#include <vector>

namespace hexlane::ui {

// The order (positions into `texts`) in which the texts are listed.
std::vector<int> SortedOrder(const QStringList& texts);

// The position at which `text` joins the already sorted `texts`: after every
// entry that sorts before it or equal to it.
int SortedInsertPosition(const QStringList& texts, const QString& text);

}  // namespace hexlane::ui
