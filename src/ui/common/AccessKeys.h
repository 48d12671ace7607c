#pragma once
// Keyboard access in dialogs: every label that names a control, every
// button and check box gets an access key (Alt + an underlined letter),
// chosen so that no two in one window share a letter; a dialog without a
// default button makes its OK button the default, so Enter presses it.
// Texts that already carry an access key keep it.

class QObject;
class QWidget;

namespace hexlane::ui {

void GiveAccessKeys(QWidget* window);

// From now on every dialog of the application, whenever it is created, gets
// its access keys and whole drop-down entries when it is first shown.
// `owner` holds the watcher; it ends with the owner.
void ApplyDialogConventionsToEveryDialog(QObject* owner);

}  // namespace hexlane::ui
