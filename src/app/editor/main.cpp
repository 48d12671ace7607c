// hexlane: the map editor. `hexlane [MAP]` opens MAP as the Open command does.

#include "Mainform.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Hexlane");
    hexlane::ui::TfMainform window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) window.OpenMapFile(arguments.at(1));
    return QApplication::exec();
}
