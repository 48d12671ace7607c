#pragma once
// Windows that open within the screen: a rectangle moved (and, when it is
// larger, cut) to lie within the available area of its screen, and a watcher
// that places every dialog so when it is shown.

#include <QRect>

class QObject;
class QWidget;

namespace hexlane::ui {

// `frame` (a window with its frame) moved into `room`; cut to `room`'s size
// first when it is larger.
QRect FitWithin(QRect frame, const QRect& room);

// Places `window` within the available area of the screen it is on.
void KeepOnScreen(QWidget* window);

// From now on every dialog of the application is kept on screen whenever it
// is shown; `owner` holds the watcher.
void KeepDialogsOnScreen(QObject* owner);

}  // namespace hexlane::ui
