#pragma once
// TfLegend: the small window that explains the map's symbols with one fixed
// picture. The example systems in it are drawn by the map renderer itself, so
// the legend always shows exactly what the map shows.

#include <QDialog>
#include <QImage>

class QLabel;

namespace hexlane::ui {

class TfLegend : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPictureWidth = 390;
    static constexpr int kPictureHeight = 464;

    explicit TfLegend(QWidget* parent = nullptr);

    // The legend picture (kPictureWidth x kPictureHeight).
    static QImage LegendPicture();

protected:
    // A click on the picture closes the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* picture_ = nullptr;
};

}  // namespace hexlane::ui
