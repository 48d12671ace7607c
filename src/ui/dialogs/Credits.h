#pragma once
// TfCredits: the credits window, a read-only text of thanks.

#include <QDialog>

namespace hexlane::ui {

class TfCredits : public QDialog {
    Q_OBJECT

public:
    explicit TfCredits(QWidget* parent = nullptr);
};

}  // namespace hexlane::ui
