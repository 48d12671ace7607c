#include "Credits.h"

#include "AccessKeys.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace hexlane::ui {

namespace {

const char* const kCredits =
    "Hexlane 4\n"
    "\n"
    "Hexlane is made by game masters for game masters. Many people and "
    "projects made it possible; our thanks go to all of them.\n"
    "\n"
    "The game-master community\n"
    "For years of sector files, subsector maps, trade routes and patient bug "
    "reports, and for every campaign that needed one more jump route drawn. "
    "The maps you share are what this editor is for.\n"
    "\n"
    "The players\n"
    "For asking where the next starport is, and for wanting to see it on a "
    "map.\n"
    "\n"
    "Qt\n"
    "The windows, the drawing and the pictures of this editor are built on the "
    "Qt toolkit, made by The Qt Company and the Qt Project's contributors.\n"
    "\n"
    "GoogleTest and Google Benchmark\n"
    "Every part of Hexlane is checked by tests written with GoogleTest and "
    "timed with Google Benchmark.\n"
    "\n"
    "The Liberation fonts\n"
    "Map text is set in Liberation Sans, whose letters have the widths of the "
    "fonts that maps were first drawn with, so names sit where they always "
    "did.\n"
    "\n"
    "CMake, GCC, Clang and the Debian project\n"
    "For the tools that build Hexlane and the system it is first made on.\n"
    "\n"
    "Everyone who tried the early versions\n"
    "Thank you for the maps that broke them.\n";

}  // namespace

TfCredits::TfCredits(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfCredits"));
    setWindowTitle(QStringLiteral("Credits"));
    setModal(true);

    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("rCredits"));
    text->setReadOnly(true);
    text->setPlainText(QString::fromUtf8(kCredits));
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("rOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    resize(420, 360);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

}  // namespace hexlane::ui
