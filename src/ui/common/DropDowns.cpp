#include "DropDowns.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace hexlane::ui {

namespace {

void Fit(QComboBox* list) {
    QAbstractItemView* view = list->view();
    const QFontMetrics metrics = view->fontMetrics();
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(list->itemText(i)));
    // Room for the item's margins, the frame and a scroll bar beside the text.
    const int extra = 2 * view->frameWidth() + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
    view->setMinimumWidth(widest + extra);
}

}  // namespace

void WidenDropDownPopup(QComboBox* list) {
    if (list->property("hexlaneWidePopup").toBool()) return;
    list->setProperty("hexlaneWidePopup", true);
    Fit(list);
    QAbstractItemModel* model = list->model();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        QObject::connect(model, signal, list, [list] { Fit(list); });
    QObject::connect(model, &QAbstractItemModel::modelReset, list, [list] { Fit(list); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, list, [list] { Fit(list); });
}

void WidenDropDownPopups(QWidget* root) {
    if (auto* list = qobject_cast<QComboBox*>(root)) WidenDropDownPopup(list);
    for (QComboBox* list : root->findChildren<QComboBox*>()) WidenDropDownPopup(list);
}

}  // namespace hexlane::ui
