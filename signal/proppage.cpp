#include "signal/proppage.h"

#include "core/textfile.h"
#include "signal/propfile.h"

#include <cmath>

namespace tav {

namespace {

int px(double v) { return int(std::floor(v + 0.5)); }
int pageY(float level) { return px(528 - 8.0 * level); }

} // namespace

std::array<QString, 9> readProp2prtIni(const QString &path)
{
    std::array<QString, 9> out;
    // A settings file: what is beyond its nine lines, or a file far too
    // large to be one, is not looked at.
    const std::optional<TextLines> read = readTextFile(path, filelimits::kProp2prtIni);
    if (!read)
        return out;
    const QStringList *lines = &read->lines;
    for (int i = 0; i < 9 && i < lines->size(); ++i)
        out[size_t(i)] = (*lines)[i];
    return out;
}

std::array<QString, 3> drawPropPage(Picture &page, const QStringList &lines)
{
    std::array<QString, 3> header;
    // Station, frequency, start: the file's lines 3, 2 and 1.
    for (int i = 0; i < 3 && i < lines.size(); ++i)
        header[size_t(2 - i)] = lines[i];
    if (lines.size() < 4)
        return header;
    const QColor black(0, 0, 0);
    const PropMinute first = parsePropMinute(lines[3]);
    // A missing pair draws nothing: its period had no reading.
    for (int k = 0; k < 4; ++k)
        if (!first.missing[size_t(k)])
            page.line(120 + k, pageY(first.max[size_t(k)]), 120 + k, pageY(first.min[size_t(k)]), black);
    for (int i = 4; i < lines.size(); ++i) {
        const PropMinute m = parsePropMinute(lines[i]);
        int t = (m.hour - first.hour) * 60 + (m.minute - first.minute);
        if (t < 0)
            t += 24 * 60;
        for (int k = 0; k < 4; ++k) {
            const int x = 120 + 4 * t + k;
            float mn = m.min[size_t(k)];
            const float mx = m.max[size_t(k)];
            if (mn == mx)
                mn = float(mn - 0.2);
            if (x >= 713)
                continue;
            if (!m.missing[size_t(k)])
                page.line(x, pageY(mx), x, pageY(mn), black);
            if (m.minute % 10 == 0 && k == 0) {
                page.line(x, 528, x, 352, black);
                page.print(x - 16, 540, lines[i].left(5), black);
            }
        }
    }
    return header;
}

void clearPropPage(Picture &page)
{
    const QColor white(255, 255, 255);
    page.box(90, 536, 730, 560, white);
    for (int j = 0; j <= 4; ++j)
        page.box(110, 361 + 32 * j, 720, 391 + 32 * j, white);
    page.box(110, 350, 720, 359, white);
    page.box(110, 521, 720, 530, white);
}

} // namespace tav
