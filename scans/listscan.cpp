#include "scans/listscan.h"

#include "core/numtext.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

const QColor kBack(255, 255, 192);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

QColor colourNumber(int n)
{
    switch (n) {
    case 10: return QColor(0, 255, 0);
    case 12: return QColor(255, 0, 0);
    case 14: return QColor(255, 255, 0);
    default: return kWhite;
    }
}

} // namespace

int ListScan::levelY(float level)
{
    return int(roundHalfEven(270 - 9 * double(level)));
}

void ListScan::drawFrame()
{
    m_pic.line(64, 271, 576, 271, kBlack);
    m_pic.line(64, 271, 64, 75, kBlack);
    m_pic.line(576, 271, 576, 75, kBlack);
    for (int k = 0; k <= 10; ++k) {
        const int y = 261 - 18 * k;
        m_pic.line(64, y, 55, y, kBlack);
        m_pic.line(576, y, 585, y, kBlack);
    }
    for (int i = 0; i < kBoxes; ++i) {
        m_pic.line(75 + 25 * i, 273, 94 + 25 * i, 273, kBlack);
        m_pic.print(77 + 25 * i, 275, numSingle(i + 1), kBlack);
    }
    const struct {
        int y;
        const char *text;
    } scale[] = {{255, "  S1"}, {219, "  S5"}, {183, "  S9"}, {147, "+24"}, {111, "+48"}, {75, "+72"}};
    for (const auto &s : scale)
        m_pic.print(30, s.y, QLatin1String(s.text), kBlack);
    for (int i = 0; i < kBoxes; ++i) {
        m_pic.box(75 + 25 * i, 290, 94 + 25 * i, 310, kWhite);
        for (int k = 0; k <= 4; ++k) {
            const int x = 75 + 25 * i + 4 * k;
            m_pic.line(x, 289, x + 1, 289, kBlack);
            m_pic.line(x, 311, x + 1, 311, kBlack);
        }
    }
}

void ListScan::cls()
{
    m_pic.box(65, 270, 575, 70, kBack);
    for (int i = 0; i < kBoxes; ++i)
        m_pic.box(75 + 25 * i, 290, 95 + 25 * i, 310, kWhite);
    sllevels = {};
    sltrends = {};
    slruns = 0;
}

void ListScan::begin(int update)
{
    slupdate = update;
    slnewscan = true;
    slnewtrend = true;
}

void ListScan::resume()
{
    slnewscan = false;
    slnewtrend = false;
}

void ListScan::tickStart()
{
    if (slnewscan) {
        slbox = 0;
        slruns = 0;
        slupdcount = 0;
        slnewscan = false;
    }
}

void ListScan::drawColumn(int x, float level)
{
    m_pic.line(x, 270, x, 70, kBack);
    // A strong signal with the attenuator's correction can pass the top of
    // the plot: above the cleared column its bar would stay on the window
    // for good, so it ends at the top.
    m_pic.line(x, 270, x, std::max(levelY(level), 70), kBlack);
}

void ListScan::storeReading(float level)
{
    const int b = slbox;
    for (int k = 1; k <= 19; ++k) {
        sllevels[b][k] = sllevels[b][k + 1];
        drawColumn(74 + 25 * b + k, sllevels[b][k]);
    }
    sllevels[b][20] = level;
    drawColumn(94 + 25 * b, level);
}

void ListScan::markUnanswered()
{
    // Over the box's own bars, which its next reading redraws.
    m_pic.box(75 + 25 * slbox, 150, 94 + 25 * slbox, 168, kBack);
    m_pic.print(81 + 25 * slbox, 152, QStringLiteral("?"), kBlack);
}

std::optional<int> ListScan::nextValidBox(const std::function<bool(int)> &valid)
{
    // One full round at most: boxes may be emptied while the scan runs.
    for (int moves = 0; moves < kBoxes; ++moves) {
        ++slbox;
        if (slbox > kBoxes - 1) {
            slbox = 0;
            ++slupdcount;
            if (slupdcount > slupdate - 1) {
                slupdcount = 0;
                calctrend();
            }
            ++slruns;
            if (slruns > 9999)
                slruns = 1;
        }
        if (valid(slbox))
            return slbox;
    }
    return std::nullopt;
}

void ListScan::calctrend()
{
    if (slnewtrend) {
        sltrendcalls = 0;
        slnewtrend = false;
    }
    ++sltrendcalls;
    if (sltrendcalls < 3)
        return;
    const int n = slupdate;
    for (int i = 0; i < kBoxes; ++i) {
        for (int k = 1; k <= 9; ++k) {
            int16_t c = sltrends[i][k + 1];
            if (c == 0)
                c = 15;
            sltrends[i][k] = c;
            m_pic.box(73 + 25 * i + 2 * k, 290, 74 + 25 * i + 2 * k, 310, colourNumber(c));
        }
        float sumNew = 0, sumOld = 0;
        for (int j = 20 - n; j <= 19; ++j)
            sumNew += sllevels[i][j];
        for (int j = 20 - 2 * n; j <= 19 - n; ++j)
            sumOld += sllevels[i][j];
        const double d = double(sumNew) - double(sumOld);
        int16_t c = 14;
        if (d > n * 0.5)
            c = 10;
        else if (d < -n * 0.5)
            c = 12;
        m_pic.box(93 + 25 * i, 290, 94 + 25 * i, 310, colourNumber(c));
        sltrends[i][10] = c;
    }
}

QString ListScan::runsText() const { return padded(slruns, 4); }

std::optional<int> ListScan::updateFromText(const QString &text)
{
    const double v = numericValue(text);
    if (!(v >= 2.5 && v <= 10.5))
        return std::nullopt;
    const int64_t n = roundHalfEven(v);
    if (n < 3 || n > 10)
        return std::nullopt;
    return int(n);
}

double ListScan::delayFromText(const QString &text)
{
    const double v = numericValue(text);
    return (v >= 1 && v <= 10) ? v : 2;
}

bool sflValid(const QString &text, double fmin, double fmax)
{
    const double v = numericValue(text);
    return v >= fmin && v <= fmax;
}

QStringList sflram2lines(const std::array<QString, 20> &boxes, double fmin, double fmax)
{
    QStringList lines;
    for (const QString &b : boxes) {
        QString t = b;
        t.replace(QLatin1Char(','), QLatin1Char('.'));
        lines << (sflValid(t, fmin, fmax) ? t : QStringLiteral("-"));
    }
    return lines;
}

std::array<QString, 20> sflfile2boxes(const QStringList &lines, double fmin, double fmax, int *refused)
{
    std::array<QString, 20> boxes;
    boxes.fill(QStringLiteral("-"));
    if (refused)
        *refused = 0;
    for (int i = 0; i < 20 && i < lines.size(); ++i) {
        QString t = lines[i];
        t.replace(QLatin1Char(','), QLatin1Char('.'));
        if (sflValid(t, fmin, fmax))
            boxes[i] = t;
        else if (refused && !t.trimmed().isEmpty() && t.trimmed() != QLatin1String("-"))
            ++*refused;
    }
    return boxes;
}

} // namespace tav
