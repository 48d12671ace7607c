#include "ConfigureRoute.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "LineStyleControls.h"
#include "Prompter.h"
#include "UiText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace hexlane::ui {

TfConfigureRoute::TfConfigureRoute(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Configure Route "));

    enable_ = new QCheckBox(QStringLiteral("Enable Route"), this);
    enable_->setObjectName(QStringLiteral("rEnableRoute"));
    user_ = new QCheckBox(QStringLiteral("User Defined"), this);
    user_->setObjectName(QStringLiteral("rUserDefined"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("rRouteName"));
    auto* nameRow = new QFormLayout;
    nameRow->addRow(QStringLiteral("Route Name"), name_);

    line_ = std::make_unique<TLineControls>(prompter_, QStringLiteral("Route Line Properties"), this);
    line_->Box->setObjectName(QStringLiteral("rLineProperties"));

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QBoxLayout* buttons = MakeOkCancelRow(this, ok, cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(enable_);
    layout->addWidget(user_);
    layout->addWidget(line_->Box);
    layout->addStretch();
    layout->addLayout(buttons);

    // The name comes first, as it stands above the check boxes.
    setTabOrder(name_, enable_);
    setTabOrder(enable_, user_);

    connect(ok, &QPushButton::clicked, this, &TfConfigureRoute::rOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(340, sizeHint().height());
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

TfConfigureRoute::~TfConfigureRoute() = default;

void TfConfigureRoute::Load(TUniverse& universe, TRoute& route) {
    universe_ = &universe;
    route_ = &route;
    setWindowTitle(QStringLiteral("Configure Route ") + FromMap(route.Name1));
    enable_->setChecked(route.ShowRoute);
    user_->setChecked(route.User);
    name_->setText(FromMap(route.Name1));
    line_->Show(route.Color, route.LineType, route.LineThickness);
    name_->setFocus();
}

bool TfConfigureRoute::rOKClick() {
    if (!route_ || !universe_) return false;
    const std::optional<std::string> name = ToMap(name_->text());
    if (!name) {
        prompter_.Error(NotStorableMessage());
        name_->setFocus();
        return false;
    }
    route_->Name1 = *name;
    route_->ShowRoute = enable_->isChecked();
    route_->User = user_->isChecked();
    route_->Color = line_->Color->Value();
    route_->LineType = static_cast<std::uint8_t>(line_->LineType->currentIndex());
    route_->LineThickness = static_cast<std::uint8_t>(line_->Thickness->value());
    MarkChanged(*universe_);
    accept();
    return true;
}

int TfConfigureRoute::EditRoute(TUniverse& universe, TRoute& route) {
    Load(universe, route);
    return exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace hexlane::ui
