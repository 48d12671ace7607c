#pragma once
// Helpers of the window tests for driving modal dialogs: finding a control by
// its object name and acting on a dialog once it is up.

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace uitest {

// The control of this object name in the dialog; a failure when missing.
template <class W>
W* Find(QWidget& dialog, const QString& name) {
    W* w = dialog.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

// Acts on the modal dialog that the next call opens, once it is up; `title`
// is the dialog's expected title.
inline void WhenModal(const QString& title, std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [title, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no dialog opened for " << title.toStdString();
            return;
        }
        EXPECT_EQ(dialog->windowTitle(), title);
        act(*dialog);
    });
}

// Waits for a modal dialog with this title, then acts on it. Polls, for
// callers that process pending events before the dialog is up (the main
// window's status texts do), which would run WhenModal's timer too early.
inline void WhenShown(const QString& title, std::function<void(QDialog&)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, title, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->windowTitle() != title) return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
    });
    timer->start(10);
}

}  // namespace uitest
