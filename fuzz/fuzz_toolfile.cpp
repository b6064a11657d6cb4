// libFuzzer target: one of the tools' file readers (TAVORIN_TOOL_READER is its
// place in toolReaders()), fed any bytes; a value read outside its form aborts.
#include "fuzz/toolreaders.h"

#include "core/tables.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tavfuzz;
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    // The pictures draw text: a GUI application without a screen.
    static const bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
    (void)offscreen;
    static QGuiApplication app(argc, argv);
    static QTemporaryDir dir;
    static const bool init = [] {
        tav::resetProgramState();
        tav::InitConstants();
        return true;
    }();
    (void)init;
    const ToolReader &r = toolReaders().at(TAVORIN_TOOL_READER);
    if (!r.read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), dir.path() + QLatin1Char('/')))
        std::abort();
    return 0;
}
