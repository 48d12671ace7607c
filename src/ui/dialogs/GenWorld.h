#pragma once
// "Generate World Map": plots a surface map of a star system's main world
// through the orbiscarta library, shows it with its hour and latitude grid and
// the position under the pointer, saves and loads the picture, and on OK keeps
// the chosen map seed and fault-line count in the star.

#include "worldmap/WorldPicture.h"

#include <QDialog>
#include <QImage>

#include <filesystem>
#include <functional>
#include <optional>

class QLabel;
class QSpinBox;
class TStar;

namespace hexlane::ui {

class Prompter;
class WorldMapView;

class TfGenWorld : public QDialog {
    Q_OBJECT
public:
    // A die: returns a uniformly random integer in [1, sides].
    using Dice = std::function<int(int sides)>;

    explicit TfGenWorld(Prompter& prompter, QWidget* parent = nullptr);
    ~TfGenWorld() override;

    // Where the library is looked for (default: the running program's folder).
    void SetLibraryFolder(std::filesystem::path folder);
    // The random digit of the water share is dice(10) - 1; default: real dice.
    void SetDice(Dice dice);

    // Derives water, ice and the world's size from the star and fills the
    // controls. False, after the refusal message, for a ring world or an
    // asteroid belt: the dialog is then not to be shown.
    bool Load(TStar& star);
    // Plots with the chosen Map Index and Skewing; true when a picture was drawn.
    bool rPlotMapClick();
    void rSavePictureClick();
    void rLoadPictureClick();
    // Stores Map Index and Skewing into the star, marks the map changed, closes with OK.
    bool rOKClick();
    // Load, then the modal dialog: 1 for OK, 0 for Cancel or when it was not shown.
    int Execute(TStar& star);

    // The picture shown now (null before any plot or load).
    QImage Picture() const;
    int WaterPercent() const { return waterPercent_; }
    int IcePercent() const { return icePercent_; }
    int DiameterMiles() const { return diameter_; }
    bool Plotted() const { return plotted_; }

private:
    void ShowPicture(worldmap::WorldPicture picture);
    void PointerMoved(int x, int y);
    void PictureClicked();

    Prompter& prompter_;
    std::optional<std::filesystem::path> libraryFolder_;
    Dice dice_;
    TStar* star_ = nullptr;
    int waterPercent_ = 0;
    int icePercent_ = 0;
    int diameter_ = 0;
    bool plotted_ = false;
    worldmap::WorldPicture picture_;  // palette indices of what is shown; empty before any

    QSpinBox* mapIndex_ = nullptr;
    QSpinBox* skewing_ = nullptr;
    QLabel* width_ = nullptr;
    QLabel* height_ = nullptr;
    QLabel* longitude_ = nullptr;
    QLabel* latitude_ = nullptr;
    WorldMapView* view_ = nullptr;
};

}  // namespace hexlane::ui
