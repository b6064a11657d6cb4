// libFuzzer target: a memory file ("MEM_*.TXT") as the Load dialog reads it.
#include "core/textfile.h"
#include "drivers/receiver.h"
#include "memories/memimage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    if (qint64(size) > kMemFileMaxBytes)
        return 0; // refused before reading
    const QStringList lines =
        splitTextLines(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), kShortLineMax);
    for (int rx = 0; rx <= 4; ++rx) {
        const int last = rxModel(rx).lastChannel.value_or(99);
        MemImage image;
        image.readFileLines(lines, last, rx);
        if (image.lastCell() != last)
            std::abort();
        for (int cell : image.heldCells())
            if (image.record(cell).size() != 35 || !memRecordProblem(image.record(cell), rx).isEmpty())
                std::abort();
    }
    return 0;
}
