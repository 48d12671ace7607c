#pragma once
// TfAboutHexlane: the about box: the emblem, the program's version and a few
// lines on what Hexlane is.

#include <QDialog>

namespace hexlane::ui {

class TfAboutHexlane : public QDialog {
    Q_OBJECT

public:
    explicit TfAboutHexlane(QWidget* parent = nullptr);
};

}  // namespace hexlane::ui
