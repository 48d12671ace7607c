#pragma once
// Drop-down lists whose popup shows every entry whole: the popup is made as
// wide as the widest entry (the closed list may stay narrower), now and
// whenever the entries change.

class QComboBox;
class QWidget;

namespace hexlane::ui {

// Every drop-down list under `root` (the root included when it is one).
// Calling it again for the same lists does nothing more.
void WidenDropDownPopups(QWidget* root);
void WidenDropDownPopup(QComboBox* list);

}  // namespace hexlane::ui
