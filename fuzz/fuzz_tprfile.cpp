// libFuzzer target: a timer-program file ("TPR_*.TXT") as the Load dialog reads it.
#include "core/textfile.h"
#include "timers/timerprog.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    if (qint64(size) > kTprFileMaxBytes)
        return 0; // refused before reading
    const QStringList lines =
        splitTextLines(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), kShortLineMax);
    for (int rx = 0; rx <= 4; ++rx) {
        std::array<ProgRow, kPrograms + 1> table{};
        const TprReadResult r = tprRead(lines, rx, table);
        if (r.count < 0 || r.count > kPrograms)
            std::abort();
        for (int n = 1; n <= kPrograms; ++n)
            if (!rowEmpty(table[size_t(n)]) && !timerRowProblem(table[size_t(n)], rx).isEmpty())
                std::abort();
    }
    return 0;
}
