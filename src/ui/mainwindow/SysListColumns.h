#pragma once
// The star columns of the system list: the fixed table of thirty columns the
// user switches on and off with the column chooser, and the text each column
// shows for a star.

#include <QString>

#include <vector>

class TStar;

namespace hexlane::ui {

// One possible star column: header text (also its name in the column
// chooser), whether it is shown, its header width in pixels and its fixed
// position 0-29 in the table.
struct TSysListCol {
    QString Caption;
    bool Visible;
    int Width;
    int Number;
};

// Number of star columns in the table.
inline constexpr int kSysListColumnCount = 30;

// The thirty star columns in table order with their initial visibility and widths.
std::vector<TSysListCol> DefaultSysListColumns();

// The text that column `number` (0-29) shows for `star`; empty for any other number.
QString StarCellText(const TStar& star, int number);

}  // namespace hexlane::ui
