// libFuzzer target: a tracking file as the tracking window follows the dial
// through it.
#include "stations/stationstore.h"
#include "stations/tracking.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    StationRecords recs;
    stationLinesFromContent(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), 1001, recs);
    TrackEngine e;
    e.setRecords(recs);
    for (double f : {0.0, 5000.0, 9420.0, 30000.0}) {
        e.search(f);
        e.build(size % 2 == 0, f, 10, 1200);
        if (e.lastLine > TrackEngine::kMaxLine)
            std::abort();
        for (int p = 0; p < e.pageCount(); ++p)
            e.page(p, true, TrackEngine::View(p % 4), 1200);
    }
    return 0;
}
