// hexlane: the map editor. `hexlane [MAP]` opens MAP as the Open command does.

#include "Mainform.h"
#include "Prompter.h"

#include <QApplication>
#include <QStringList>

#include <new>

namespace {

// Every command runs from an event; one that runs out of memory ends with a
// message instead of ending the editor. (Opening a map reports this itself
// and keeps the open map.)
class EditorApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc&) {
            hexlane::ui::QtPrompter(activeWindow()).Error(QStringLiteral("Not enough memory to complete this command."));
            return false;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    EditorApplication app(argc, argv);
    QApplication::setApplicationName("Hexlane");
    hexlane::ui::TfMainform window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) window.OpenMapFile(arguments.at(1));
    return QApplication::exec();
}
