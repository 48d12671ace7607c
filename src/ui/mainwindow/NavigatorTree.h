#pragma once
// The navigator tree widget: a QTreeWidget that accepts drops of rows dragged
// from the system list and of files from outside, reports the node they were
// dropped on, and reports the Delete key.

#include <QTreeWidget>

namespace hexlane::ui {

class NavigatorTree final : public QTreeWidget {
    Q_OBJECT

public:
    explicit NavigatorTree(QWidget* parent = nullptr);
    // The only widget whose drags the tree accepts.
    void SetDragSource(QWidget* source) { source_ = source; }

signals:
    void rowsDropped(QTreeWidgetItem* target);
    // Local files dropped on a node (null: on no node).
    void filesDropped(QTreeWidgetItem* target, const QStringList& paths);
    void deleteKeyPressed();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Accepts(const QDropEvent* event) const;
    static QStringList LocalFiles(const QDropEvent* event);
    QWidget* source_ = nullptr;
};

}  // namespace hexlane::ui
