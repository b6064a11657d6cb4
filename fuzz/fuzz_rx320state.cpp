// libFuzzer target: "rx320settings.ini", the RX-320's state between sessions.
#include "core/globals.h"
#include "panels/rx320state.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/rx320settings.ini");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    f.write(reinterpret_cast<const char *>(data), qint64(size));
    f.close();
    rx320state::read(path);
    if (!(G.rx320freq >= 100 && G.rx320freq <= 30000) || G.rx320volume < 0 || G.rx320volume > 99 ||
        G.rx320mode < 0 || G.rx320mode > 3 || G.rx320agc < 1 || G.rx320agc > 3)
        std::abort();
    return 0;
}
