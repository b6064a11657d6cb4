// libFuzzer target: a logbook file (LOG_*.TXT) as loaded, sorted and saved.
#include "logbook/logbook.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tav;
    constexpr int kCapacity = 1001;
    LogFileContent c = logFileFromContent(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), kCapacity);
    if (c.records.size() > kCapacity || c.linesInFile < c.records.size())
        std::abort();
    for (int i = 0; i < c.records.size(); ++i)
        for (int f = 0; f < kLogFields; ++f)
            if (c.records.length(i, f) > kLogFieldWidth[size_t(f)])
                std::abort();
    logSort(c.records, int(size % 5));
    // A saved logbook reads back to the same file.
    auto save = [](const LogRecords &r) {
        QByteArray out;
        char line[kLogLineLength];
        for (int i = 0; i < r.size(); ++i) {
            r.writeLine(i, i, line);
            out.append(line, kLogLineLength).append("\r\n");
        }
        return out;
    };
    const QByteArray saved = save(c.records);
    if (save(logFileFromContent(saved, kCapacity).records) != saved)
        std::abort();
    return 0;
}
