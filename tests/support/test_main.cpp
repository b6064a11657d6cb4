// Every test binary gets a QApplication on the offscreen platform, and every
// test starts from the program's start-up state.
#include "core/globals.h"
#include "core/clock.h"
#include "core/comm.h"
#include "core/filekinds.h"
#include "support/testenv.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class ResetState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override
    {
        tav::resetProgramState();
        tav::Clock::clear();
        tav::clearPartialLoads();
        tavtest::resetDialogScript();
    }
};
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Tests never read or write the user's own settings.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    // Nor the user's cache, configuration or data folders, wherever the
    // environment points them.
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/.cache")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toLocal8Bit());
    // Tests about timing switch the line's pace back on for their own port.
    tav::CommControl::setPacedByDefault(false);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetState);
    return RUN_ALL_TESTS();
}
