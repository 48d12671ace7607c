#include "NavigatorTree.h"

#include <QDragEnterEvent>
#include <QKeyEvent>

namespace hexlane::ui {

NavigatorTree::NavigatorTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("rListing");
    setHeaderHidden(true);
    setColumnCount(1);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

bool NavigatorTree::Accepts(const QDropEvent* event) const {
    return source_ != nullptr && event->source() == source_;
}

void NavigatorTree::dragEnterEvent(QDragEnterEvent* event) {
    if (Accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void NavigatorTree::dragMoveEvent(QDragMoveEvent* event) {
    // Every node is a possible target: the drop itself tells the user why a
    // node does not take the rows.
    if (Accepts(event) && itemAt(event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void NavigatorTree::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    if (!Accepts(event) || !target) {
        event->ignore();
        return;
    }
    // The rows stay where they are: the window moves the objects and refills
    // the list, so the drag must not remove anything on its own.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit rowsDropped(target);
}

void NavigatorTree::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit deleteKeyPressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace hexlane::ui
