// libFuzzer target: "formpositions.ini" as read at start and written at the end.
#include "core/globals.h"
#include "core/settings.h"
#include "core/textfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    resetProgramState();
    applyPositionLines(splitTextLines(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), kShortLineMax));
    if (positionLines().size() != 45)
        std::abort();
    return 0;
}
