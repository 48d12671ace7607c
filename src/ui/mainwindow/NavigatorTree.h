#pragma once
// The navigator tree widget: a QTreeWidget that accepts drops of rows dragged
// from the system list (and nothing else) and reports the node they were
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
    void deleteKeyPressed();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Accepts(const QDropEvent* event) const;
    QWidget* source_ = nullptr;
};

}  // namespace hexlane::ui
