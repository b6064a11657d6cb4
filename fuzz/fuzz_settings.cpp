// libFuzzer target: "tavorin2.ini" as read at start. Every setting must end
// within the range its set-up check allows.
#include "core/clock.h"
#include "core/globals.h"
#include "core/settings.h"
#include "core/textfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    resetProgramState();
    applySettingsLines(splitTextLines(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), kShortLineMax));
    updateClockTexts();
    static const struct { int k; float lo, hi; } ranges[] = {
        {1, 1, 5}, {2, 0, 8}, {3, -13, 13}, {4, 1, 30}, {7, 1, 30}, {8, 0, 2}, {14, 1, 6}, {17, 1, 6},
        {20, -1000, 1000}, {23, 1, 9}, {26, 0, 255}, {28, 0, 99}, {31, 0, 99}};
    for (const auto &r : ranges)
        if (!(G.setupdata[size_t(r.k)] >= r.lo && G.setupdata[size_t(r.k)] <= r.hi))
            std::abort();
    if (G.datapath.size() > kShortLineMax + 1 || G.utctext.isEmpty())
        std::abort();
    settingsLines();
    return 0;
}
