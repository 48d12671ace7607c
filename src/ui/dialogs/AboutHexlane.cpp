#include "AboutHexlane.h"

#include "AccessKeys.h"

#include "Icons.h"
#include "Manager.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace hexlane::ui {

TfAboutHexlane::TfAboutHexlane(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfAboutHexlane"));
    setWindowTitle(QStringLiteral("About Hexlane 4"));
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("rPicture"));
    picture->setPixmap(Emblem(128));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = new QLabel(QStringLiteral("Hexlane 4"), this);
    title->setObjectName(QStringLiteral("rTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* subtitle = new QLabel(QStringLiteral("Star map editor for science-fiction role-playing games"), this);

    auto* version = new QLabel(QString::fromStdString(TManager::VersionString(kMapFormatVersion)), this);
    version->setObjectName(QStringLiteral("rVersion"));

    auto* legal = new QLabel(this);
    legal->setObjectName(QStringLiteral("rLegal"));
    legal->setWordWrap(true);
    legal->setText(QStringLiteral(
        "Copyright \u00A9 The Hexlane authors.\n\n"
        "Hexlane is a fan-made map editor, written by players for players and given away free of charge. "
        "It is not affiliated with, endorsed or sponsored by the publishers of any role-playing game.\n\n"
        "Game names and terms that appear in maps belong to their owners and are used here only to "
        "describe the maps you draw. The maps you make are yours.\n\n"
        "This program comes with no warranty of any kind."));
    // A wrapped label only knows its height once its width is fixed.
    constexpr int kTextWidth = 340;
    legal->setFixedSize(kTextWidth, legal->heightForWidth(kTextWidth));

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(subtitle);
    text->addWidget(version);
    text->addSpacing(10);
    text->addWidget(legal);
    text->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("rClose"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

}  // namespace hexlane::ui
