#include "ClippedTextTips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace hexlane::ui {

bool ClippedTextTips::Clipped(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    if (item.text.isEmpty()) return false;
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    // The style keeps a margin on each side of the text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    return item.fontMetrics.horizontalAdvance(item.text) > textRect.width() - 2 * margin;
}

bool ClippedTextTips::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    // A tooltip of the item's own wins; otherwise the whole text when cut.
    if (!index.data(Qt::ToolTipRole).toString().isEmpty())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    if (Clipped(option, index)) {
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

}  // namespace hexlane::ui
