#include "scans/bandscan.h"

#include "core/numtext.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace tav {

namespace {

const QColor kBack(255, 255, 192);
const QColor kBlack(0, 0, 0);
const QColor kMarker(0, 255, 0);

} // namespace

QColor overlayColour(int n)
{
    switch (n) {
    case 1: return QColor(0, 0, 255);
    case 2: return QColor(0, 255, 0);
    case 3: return QColor(255, 0, 255);
    default: return QColor(255, 0, 0);
    }
}

QString slabel(int n)
{
    static const char *names[] = {"S0",      "S1",      "S2",      "S3",      "S4",      "S5",
                                  "S6",      "S7",      "S8",      "S9",      "S9+6dB",  "S9+12dB",
                                  "S9+18dB", "S9+24dB", "S9+30dB", "S9+36dB", "S9=42dB", "S9+48dB",
                                  "S9+54dB", "S9+60dB", "S9+66dB", "S9+72dB"};
    if (n < 0 || n > 21)
        return QString();
    return QLatin1String(names[n]);
}

bool BandSweep::bandValid(double start, double end, double step, double fmin, double fmax)
{
    return bandProblem(start, end, step, fmin, fmax).isEmpty();
}

QString BandSweep::bandProblem(double start, double end, double step, double fmin, double fmax)
{
    if (!(step > 0))
        return QStringLiteral("The band's step is not above 0.");
    if (!(end > start))
        return QStringLiteral("The band's end is not above its start.");
    if (start < fmin)
        return QStringLiteral("The band starts at %1 kHz, below the receiver's %2 kHz.").arg(numPlain(start), numPlain(fmin));
    if (end > fmax)
        return QStringLiteral("The band ends at %1 kHz, above the receiver's %2 kHz.").arg(numPlain(end), numPlain(fmax));
    if (!((end - start) / step <= kMaxStep))
        return QStringLiteral("The band has more than %1 steps.").arg(kMaxStep);
    return QString();
}

int BandSweep::lastStep() const
{
    if (!(sbstep > 0) || !(sbfreqend > sbfreqstart))
        return 0;
    const double n = std::floor((sbfreqend - sbfreqstart) / sbstep);
    return n > kMaxStep ? kMaxStep : int(n);
}

int BandSweep::xOf(double f) const
{
    const double span = sbfreqend - sbfreqstart;
    if (!(span > 0))
        return -1;
    const double x = 70 + (f - sbfreqstart) * 500 / span;
    if (!(x > -1e6 && x < 1e6))
        return -1;
    return int(roundHalfEven(x));
}

int BandSweep::yOf(double level)
{
    double y = 360 - 8 * level;
    // Far outside the picture every y draws the same; keep it a number.
    if (!(y > -1e6))
        y = -1e6;
    if (y > 1e6)
        y = 1e6;
    return int(roundHalfEven(y));
}

void BandSweep::drawFrame()
{
    m_pic.line(69, 361, 571, 361, kBlack);
    m_pic.line(69, 361, 69, 184, kBlack);
    m_pic.line(571, 361, 571, 184, kBlack);
    for (int i = 0; i <= 10; ++i) {
        const int y = 352 - 16 * i;
        m_pic.line(69, y, 60, y, kBlack);
        m_pic.line(571, y, 580, y, kBlack);
        const int x = 70 + 50 * i;
        m_pic.line(x, 361, x, 370, kBlack);
    }
    const struct {
        int y;
        const char *text;
    } scale[] = {{346, "  S1"}, {314, "  S5"}, {282, "  S9"}, {250, "+24"}, {218, "+48"}, {186, "+72"}};
    for (const auto &s : scale)
        m_pic.print(35, s.y, QLatin1String(s.text), kBlack);
}

void BandSweep::clearPlot() { m_pic.box(70, 184, 570, 360, kBack); }
void BandSweep::clearStepMarker() { m_pic.box(69, 175, 571, 183, kBack); }
void BandSweep::clearClickMarker() { m_pic.box(70, 372, 570, 380, kBack); }

void BandSweep::clickMarker(int x)
{
    clearClickMarker();
    m_pic.box(x - 1, 372, x + 1, 380, kMarker);
}

void BandSweep::begin(double start, double end, double step)
{
    sbfreqstart = start;
    sbfreqend = end;
    sbstep = step;
    sbstepnr = 0;
    sbfreq = start;
    sblevels = {};
    sbprev1 = {};
    sbprev2 = {};
}

void BandSweep::record(float r)
{
    const int n = sbstepnr;
    if (n < 0 || n > kMaxStep)
        return;
    switch (sbshowmode) {
    case 1:
        if (r > sblevels[n])
            sblevels[n] = r;
        sbplotlevel = sblevels[n];
        break;
    case 2:
        sbprev2[n] = sbprev1[n];
        sbprev1[n] = sblevels[n];
        sblevels[n] = r;
        sbplotlevel = (sbprev1[n] + sblevels[n] + sbprev2[n]) / 3;
        break;
    default:
        sblevels[n] = r;
        sbplotlevel = r;
        break;
    }
    const int x = xOf(sbfreq);
    const int y = yOf(sbplotlevel);
    clearStepMarker();
    m_pic.box(x - 1, 175, x + 1, 183, kMarker);
    m_pic.line(x, 360, x, 184, kBack);
    // Above the cleared column a bar would never be erased: it ends at the
    // plot's top however strong the reading.
    m_pic.line(x, 360, x, std::max(y, 184), kBlack);
}

double BandSweep::advance(bool loop)
{
    ++sbstepnr;
    if (sbstepnr > lastStep() && loop)
        sbstepnr = 0;
    sbfreq = sbfreqstart + sbstepnr * sbstep;
    return sbfreq;
}

double BandSweep::mouseFrequency(int x) const
{
    return std::floor((x - 70) / 500.0 * (sbfreqend - sbfreqstart) / sbstep) * sbstep + sbfreqstart;
}

double BandSweep::clickFrequency(int x) const
{
    return std::floor((sbfreqend - sbfreqstart) / sbstep * (x - 70) / 500) * sbstep + sbfreqstart;
}

QString BandSweep::levelText(float level)
{
    const float tenths = level * 10.0f;
    return padded(floorInt(double(tenths)), 3);
}

QString BandSweep::bandText(double v)
{
    const QString s = numDouble(v);
    if (!s.contains(QLatin1Char('E')))
        return s;
    QString digits = fixedFormat(v, 0, 15);
    if (digits.contains(QLatin1Char('.'))) {
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        if (digits.endsWith(QLatin1Char('.')))
            digits.chop(1);
    }
    return v < 0 ? digits : QLatin1Char(' ') + digits;
}

QStringList BandSweep::toLines(const QString &caption) const
{
    // The step after a finished sweep of 500 steps has no level: the file
    // ends with the last step there is.
    const int last = sbstepnr > kMaxStep ? kMaxStep : sbstepnr;
    QStringList lines{caption, bandText(sbfreqstart), bandText(sbfreqend), bandText(sbstep), numSingle(last)};
    for (int k = 0; k <= last; ++k)
        lines << levelText(sblevels[k]);
    return lines;
}

std::optional<QStringList> BandSweep::fileLines(const QString &caption, double fmin, double fmax, QString *error) const
{
    if (!(sbstep > 0)) {
        if (error)
            *error = QStringLiteral("No sweep has been made or loaded yet: there is nothing to save.");
        return std::nullopt;
    }
    const QStringList lines = toLines(caption);
    QString why;
    if (!read(lines, fmin, fmax, &why)) {
        if (error)
            *error = QStringLiteral("This sweep would give a file that cannot be loaded again. ") + why;
        return std::nullopt;
    }
    return lines;
}

std::optional<BandSweep::File> BandSweep::read(const QStringList &lines, double fmin, double fmax, QString *error)
{
    std::optional<File> f = parse(lines, error);
    if (!f)
        return std::nullopt;
    const QString problem = bandProblem(f->start, f->end, f->step, fmin, fmax);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return std::nullopt;
    }
    return f;
}

std::optional<BandSweep::File> BandSweep::parse(const QStringList &lines, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<File> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (lines.size() < 5)
        return fail(QStringLiteral("The band file is incomplete."));
    File f;
    f.caption = lines[0];
    f.start = numericValue(lines[1]);
    f.end = numericValue(lines[2]);
    f.step = numericValue(lines[3]);
    const double last = numericValue(lines[4]);
    if (!(f.end > f.start))
        return fail(QStringLiteral("The band's end is not above its start."));
    if (!(f.step > 0))
        return fail(QStringLiteral("The band's step is not above 0."));
    if (last < -0.5)
        return fail(QStringLiteral("The band file holds no steps."));
    if (!(last <= kMaxStep + 0.5) || roundHalfEven(last) > kMaxStep)
        return fail(QStringLiteral("The band file holds more than 501 steps."));
    f.laststep = int(roundHalfEven(last));
    if (lines.size() - 5 < f.laststep + 1)
        return fail(QStringLiteral("The band file holds fewer levels than steps."));
    for (int k = 0; k <= f.laststep; ++k)
        f.levels[k] = float(std::clamp(numericValue(lines[5 + k]) / 10.0, double(kMinLevel), double(kMaxLevel)));
    return f;
}

bool BandSweep::applyOverlay(const File &f, const QColor &colour)
{
    // What is drawn belongs to the old band's scale: a file of another band
    // starts on a clear plot rather than under bars it does not match.
    const bool newBand = f.start != sbfreqstart || f.end != sbfreqend || f.step != sbstep;
    if (newBand) {
        clearPlot();
        clearStepMarker();
        clearClickMarker();
    }
    sbfreqstart = f.start;
    sbfreqend = f.end;
    sbstep = f.step;
    sbfilelaststep = f.laststep;
    sblevels = {};
    for (int k = 0; k <= f.laststep && k <= kMaxStep; ++k)
        sblevels[k] = f.levels[k];
    int px = 70, py = 400;
    for (int k = 0; k <= f.laststep; ++k) {
        sbfreq = sbfreqstart + k * sbstep;
        const int x = xOf(sbfreq);
        const int y = yOf(sblevels[k]);
        if (x >= 70 && x <= 570)
            m_pic.line(px, py, x, y, colour);
        px = x;
        py = y;
    }
    return newBand;
}

} // namespace tav
