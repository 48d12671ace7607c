#pragma once
// The route dialog: a route's name, whether it is shown, whether it is
// user-defined, and the colour, type and thickness of its legs' line.
// Changes the route only on OK.

#include <QDialog>

#include <memory>

class QCheckBox;
class QLineEdit;
class TRoute;
class TUniverse;

namespace hexlane::ui {

class Prompter;
struct TLineControls;

class TfConfigureRoute : public QDialog {
    Q_OBJECT
public:
    explicit TfConfigureRoute(Prompter& prompter, QWidget* parent = nullptr);
    ~TfConfigureRoute() override;

    void Load(TUniverse& universe, TRoute& route);
    // Writes the route as the controls stand (any name, even an empty one,
    // as long as a map file can store it), marks the map changed and accepts.
    bool rOKClick();
    // Load, then the modal dialog: 1 for OK, 0 for Cancel.
    int EditRoute(TUniverse& universe, TRoute& route);

private:
    Prompter& prompter_;
    TUniverse* universe_ = nullptr;
    TRoute* route_ = nullptr;

    QCheckBox* enable_;
    QCheckBox* user_;
    QLineEdit* name_;
    std::unique_ptr<TLineControls> line_;
};

}  // namespace hexlane::ui
