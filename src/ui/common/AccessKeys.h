#pragma once
// Keyboard access in dialogs: every label that names a control, every
// button and check box gets an access key (Alt + an underlined letter),
// chosen so that no two in one window share a letter; a dialog without a
// default button makes its OK button the default, so Enter presses it.
// Texts that already carry an access key keep it.

class QWidget;

namespace hexlane::ui {

void GiveAccessKeys(QWidget* window);

}  // namespace hexlane::ui
