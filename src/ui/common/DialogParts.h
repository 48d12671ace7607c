#pragma once
// Small pieces the dialogs are built from.

#include <QPushButton>
#include <QString>

namespace hexlane::ui {

// A push button with its object name. It does not make itself the default
// button when focused, so Return keeps going to the dialog's own default.
inline QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace hexlane::ui
