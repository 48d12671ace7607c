#pragma once
// What the benchmarks of the Qt layers share: one application object, on the
// offscreen platform unless the user chose one, and the process's peak memory.

#include <QCoreApplication>
#include <QtGlobal>

#include <fstream>
#include <string>

namespace benchqt {

// Makes the application object of type App (QGuiApplication or QApplication)
// once, for the whole program.
template <class App>
void EnsureApplication(const char* programName) {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static std::string name = programName;
    static char* argv[] = {name.data(), nullptr};
    // Never destroyed: an application object torn down among the exit
    // handlers outlives the platform it ran on and crashes on the way out.
    static App* app = new App(argc, argv);
    (void)app;
}

// Peak resident memory of the process in megabytes, where the system tells it.
inline double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

}  // namespace benchqt
