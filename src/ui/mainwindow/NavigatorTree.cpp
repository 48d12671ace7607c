#include "NavigatorTree.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

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

QStringList NavigatorTree::LocalFiles(const QDropEvent* event) {
    QStringList paths;
    if (event->source() == nullptr && event->mimeData() && event->mimeData()->hasUrls())
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

void NavigatorTree::dragEnterEvent(QDragEnterEvent* event) {
    if (Accepts(event) || !LocalFiles(event).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void NavigatorTree::dragMoveEvent(QDragMoveEvent* event) {
    // Every node is a possible target: the drop itself tells the user why a
    // node does not take the rows.
    if ((Accepts(event) && itemAt(event->position().toPoint())) || !LocalFiles(event).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void NavigatorTree::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    if (const QStringList files = LocalFiles(event); !files.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(target, files);
        return;
    }
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
