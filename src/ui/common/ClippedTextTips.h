#pragma once
// ClippedTextTips: an item delegate that shows a cell's whole text as a
// tooltip when the view had to cut it short (with an ellipsis), and no
// tooltip when the text fits.

#include <QStyledItemDelegate>

namespace hexlane::ui {

class ClippedTextTips final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // True when the text of `index` does not fit the width `option` gives it.
    bool Clipped(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

}  // namespace hexlane::ui
