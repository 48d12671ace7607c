#pragma once
// Keyboard access in dialogs: every label that names a control, every
// button and check box gets an access key (Alt + an underlined letter),
// chosen so that no two in one window share a letter; a dialog without a
// default button makes the accepting button of its button box the default,
// so Enter presses it. Texts that already carry an access key keep it. Each
// dialog asks for them at the end of its construction.

class QMenu;
class QWidget;

namespace hexlane::ui {

void GiveAccessKeys(QWidget* window);
// The same for the items of a menu (its submenus have their own letters).
void GiveMenuAccessKeys(QMenu* menu);

}  // namespace hexlane::ui
