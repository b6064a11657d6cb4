// libFuzzer target: "comports.ini", the devices of COM 1 to COM 5.
#include "core/comm.h"
#include "core/globals.h"
#include "core/textfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    static QTemporaryDir dir;
    G.datapath = dir.path() + QLatin1Char('/');
    QFile f(G.datapath + QStringLiteral("comports.ini"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    f.write(reinterpret_cast<const char *>(data), qint64(size));
    f.close();
    for (int n = 1; n <= 5; ++n) {
        const QString dev = CommControl::deviceForPort(n);
        if (dev.isEmpty() || dev.size() > kShortLineMax)
            std::abort();
    }
    return 0;
}
