#include "ScreenFit.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace hexlane::ui {

namespace {

class DialogPlacement : public QObject {
public:
    explicit DialogPlacement(QObject* owner) : QObject(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow()) KeepOnScreen(dialog);
        return false;
    }
};

}  // namespace

QRect FitWithin(QRect frame, const QRect& room) {
    if (room.isEmpty()) return frame;
    frame.setSize(frame.size().boundedTo(room.size()));
    frame.moveLeft(std::clamp(frame.left(), room.left(), room.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), room.top(), room.bottom() + 1 - frame.height()));
    return frame;
}

void KeepOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // The frame around the window, once it has one; before the first
    // showing only the client area is known.
    const QRect frame = window->frameGeometry();
    const QRect fitted = FitWithin(frame, screen->availableGeometry());
    if (fitted == frame) return;
    const QSize margins = frame.size() - window->geometry().size();
    if (fitted.size() != frame.size()) window->resize(fitted.size() - margins);
    window->move(fitted.topLeft());
}

void KeepDialogsOnScreen(QObject* owner) {
    if (qApp) qApp->installEventFilter(new DialogPlacement(owner));
}

}  // namespace hexlane::ui
