#include "ListClicks.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>

namespace hexlane::ui {

namespace {

// Knows whether a mouse button is down on the list, so that the change of
// the current entry that a press makes waits for the click that follows.
class PressWatch final : public QObject {
public:
    using QObject::QObject;
    bool Pressed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            Pressed = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            Pressed = false;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void OnEntryChosen(QAbstractItemView* view, std::function<bool()> ignore,
                   std::function<void(const QModelIndex&)> chosen) {
    auto* watch = new PressWatch(view);
    view->viewport()->installEventFilter(watch);
    QObject::connect(view, &QAbstractItemView::clicked, view, [chosen](const QModelIndex& index) {
        if (index.isValid()) chosen(index);
    });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
                     [watch, ignore, chosen](const QModelIndex& index) {
                         if (watch->Pressed || !index.isValid() || (ignore && ignore())) return;
                         chosen(index);
                     });
}

}  // namespace hexlane::ui
