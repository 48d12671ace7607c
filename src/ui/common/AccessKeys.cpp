#include "AccessKeys.h"


#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

#include <functional>
#include <set>
#include <vector>

namespace hexlane::ui {

namespace {

struct Captioned {
    QString Text;
    std::function<void(const QString&)> Set;
};

// The letter after a single '&', lower case; a null QChar when none.
QChar AccessKeyOf(const QString& text) {
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

// The text with '&' before the first free letter, word starts preferred;
// empty when every letter of it is taken.
QString WithAccessKey(const QString& text, std::set<QChar>& used) {
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (!c.isLetter()) continue;  // "01,02" and "<<" stay without a key
            const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
            if (pass == 0 && !wordStart) continue;
            if (used.count(c.toLower())) continue;
            used.insert(c.toLower());
            QString keyed = text;
            keyed.insert(i, '&');
            return keyed;
        }
    return {};
}

}  // namespace

void GiveMenuAccessKeys(QMenu* menu) {
    std::vector<Captioned> items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) items.push_back({action->text(), [action](const QString& t) { action->setText(t); }});
    std::set<QChar> used;
    for (const Captioned& item : items)
        if (const QChar key = AccessKeyOf(item.Text); !key.isNull()) used.insert(key);
    for (const Captioned& item : items)
        if (!item.Text.isEmpty() && !item.Text.contains('&'))
            if (const QString keyed = WithAccessKey(item.Text, used); !keyed.isEmpty()) item.Set(keyed);
}

void GiveAccessKeys(QWidget* window) {
    std::vector<Captioned> items;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window) continue;  // a window of its own keeps its own keys
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            // Only a label that names a control can pass the key on.
            if (!label->buddy() || label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text())) continue;
            items.push_back({label->text(), [label](const QString& t) { label->setText(t); }});
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (!qobject_cast<QPushButton*>(button) && !qobject_cast<QCheckBox*>(button) &&
                !qobject_cast<QRadioButton*>(button))
                continue;
            items.push_back({button->text(), [button](const QString& t) { button->setText(t); }});
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            if (group->isCheckable()) items.push_back({group->title(), [group](const QString& t) { group->setTitle(t); }});
        }
    }
    std::set<QChar> used;
    for (const Captioned& item : items)
        if (const QChar key = AccessKeyOf(item.Text); !key.isNull()) used.insert(key);
    for (const Captioned& item : items) {
        // A text with an '&' of its own (a key, or a literal "&&") is left alone.
        if (item.Text.isEmpty() || item.Text.contains('&')) continue;
        const QString keyed = WithAccessKey(item.Text, used);
        if (!keyed.isEmpty()) item.Set(keyed);
    }

    // Enter presses the accepting button of the dialog's button box where
    // nothing else is the default.
    auto buttons = window->findChildren<QPushButton*>();
    buttons.removeIf([window](const QPushButton* button) { return button->window() != window; });
    bool hasDefault = false;
    for (const QPushButton* button : buttons) hasDefault = hasDefault || button->isDefault();
    if (!hasDefault)
        for (QDialogButtonBox* box : window->findChildren<QDialogButtonBox*>())
            for (QAbstractButton* button : box->buttons())
                if (box->buttonRole(button) == QDialogButtonBox::AcceptRole)
                    if (auto* push = qobject_cast<QPushButton*>(button); push && !hasDefault) {
                        push->setDefault(true);
                        hasDefault = true;
                    }
}

}  // namespace hexlane::ui
