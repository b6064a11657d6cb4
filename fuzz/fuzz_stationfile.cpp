// libFuzzer target: a station file (.ftl) as the list windows load, query
// and sort it.
#include "stations/stationstore.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    constexpr int kCapacity = 1001;
    StationStore s;
    const StationLoad r = stationLinesFromContent(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
                                                  kCapacity, s.ftlrecs);
    if (r.lines != s.ftlrecs.size() || r.lines > kCapacity || r.leftOut < 0)
        std::abort();
    s.ftlcount = s.ftlrecs.size() - 1;
    for (int i = 0; i < s.ftlrecs.size(); ++i)
        s.ftlindex << i;
    IlgCriteria c;
    c.freq = true;
    c.lower = QStringLiteral("5");
    c.upper = QStringLiteral("20");
    c.onAir = true;
    for (int i : ilgSearch(s, c, 1200))
        if (ilgSearchLine(s.ftlrecs.data(i)).size() != 103)
            std::abort();
    AeroCriteria a;
    a.freq = true;
    aeroSearch(s, a);
    if (ftlSort(s.ftlrecs, s.ftlindex, int(size % 4)).size() != s.ftlindex.size())
        std::abort();
    return 0;
}
