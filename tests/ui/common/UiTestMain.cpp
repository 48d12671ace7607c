// The main of every window test: a QApplication on the offscreen platform
// (unless another was chosen), settings in a temporary file emptied before
// each test (never the user's own), then the tests.

#include "Settings.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Every test starts from no remembered settings.
class FreshSettings final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { hexlane::ui::Settings::Store().clear(); }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir settingsDir;
    hexlane::ui::Settings::UseFile(settingsDir.filePath("hexlane.ini"));
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
    const int result = RUN_ALL_TESTS();
    hexlane::ui::Settings::UseFile({});
    return result;
}
