#include "drivers/rx320calc.h"

#include "core/numtext.h"

#include <algorithm>
#include <cmath>

namespace tav::rx320 {

namespace {

constexpr int kWidths[34] = {6000, 5700, 5400, 5100, 4800, 4500, 4200, 3900, 3600, 3300, 3000, 2850,
                             2700, 2550, 2400, 2250, 2100, 1950, 1800, 1650, 1500, 1350, 1200, 1050,
                             900,  750,  675,  600,  525,  450,  375,  330,  300,  8000};

int64_t clampWord(int64_t w) { return std::clamp<int64_t>(w, 0, 65535); }

} // namespace

int filterWidthHz(int index) { return (index >= 0 && index < 34) ? kWidths[index] : 0; }

int correctionHz(double hz, double c5, double c15)
{
    const double line = c5 + (c15 - c5) * (hz - 5000000.0) / 10000000.0;
    if (!std::isfinite(line))
        return 0;
    // A 16-bit quantity in the receiver's arithmetic; absurd calibration
    // values must not wrap round into a correction of the opposite sign.
    return int(std::clamp<int64_t>(floorInt(std::clamp(line, -40000.0, 40000.0)), -32768, 32767));
}

std::optional<TuningWords> tuningWords(const TuningInput &in)
{
    const double hz = in.kHz * 1000.0;
    const int corr = correctionHz(hz, in.c5, in.c15);
    double adj = 0;
    double b = 0;
    switch (in.mode) {
    case 0:
        // The maker's rule: AM takes no mode correction, so the carrier stays
        // at the middle of the IF whatever the shift; only the BFO word, which
        // AM does not use, carries the shift.
        adj = corr + hz - 1250;
        b = std::floor((in.pbs + 8000.0) * 2.73);
        break;
    case 1:
    case 2: {
        const double fcor = filterWidthHz(in.filter) / 2.0 + 200 + in.pbs;
        adj = in.mode == 1 ? corr + hz - 1250 + fcor : corr + hz - 1250 - fcor;
        b = std::floor((fcor + 8000) * 2.73);
        break;
    }
    case 3:
        adj = corr + hz - 1250 - in.pbs;
        b = std::floor((double(in.bfo) + in.pbs + 8000) * 2.73);
        break;
    default:
        return std::nullopt;
    }
    if (!std::isfinite(adj) || !std::isfinite(b))
        return std::nullopt;
    // Coarse and fine must come from the same whole number of hertz: taking
    // the coarse word from the unrounded value puts the receiver 2.5 kHz off
    // whenever a half hertz (a 675 Hz filter in SSB) rounds up onto a
    // multiple of 2500.
    const int64_t whole = roundHalfEven(std::clamp(adj, -1e12, 1e12));
    const int64_t step = floorInt(double(whole) / 2500.0);
    TuningWords w;
    w.adj = adj;
    w.coarse = int(clampWord(step + 18000));
    w.fine = double(whole - step * 2500) * 5.46;
    w.bfo = int(clampWord(int64_t(std::clamp(b, -1.0, 70000.0))));
    return w;
}

std::optional<QByteArray> tuningCommand(const TuningInput &in)
{
    const std::optional<TuningWords> w = tuningWords(in);
    if (!w)
        return std::nullopt;
    auto cap = [](int64_t v) { return char(uint8_t(std::clamp<int64_t>(v, 0, 255))); };
    const int64_t fineHigh = floorInt(w->fine / 256.0);
    const int64_t fineLow = roundHalfEven(w->fine - 256.0 * double(fineHigh));
    QByteArray cmd;
    cmd += 'N';
    cmd += cap(w->coarse / 256);
    cmd += cap(w->coarse % 256);
    cmd += cap(fineHigh);
    cmd += cap(fineLow);
    cmd += cap(w->bfo / 256);
    cmd += cap(w->bfo % 256);
    cmd += '\r';
    return cmd;
}

int audioLevel(int slider)
{
    const double v = std::clamp(slider, 0, 99);
    const double level = (99.0 - std::sqrt(v * 99.0)) * 63.0 / 99.0;
    return int(std::clamp<int64_t>(roundHalfEven(level), 0, 63));
}

float smeterUnits(const QByteArray &reply)
{
    if (reply.size() < 3)
        return 0;
    const int n = uint8_t(reply[1]) * 256 + uint8_t(reply[2]);
    if (n == 0)
        return 0;
    const double s = std::log(double(n)) * 1.4;
    return s < 0 ? 0.0f : float(s);
}

QString modeLetter(int mode)
{
    switch (mode) {
    case 0: return QStringLiteral("a");
    case 1: return QStringLiteral("u");
    case 2: return QStringLiteral("l");
    case 3: return QStringLiteral("c");
    default: return QString();
    }
}

std::optional<LetterSetting> settingForLetter(const QString &letter)
{
    const QString l = letter.toLower();
    if (l == QLatin1String("a"))
        return LetterSetting{0, 2, 3};
    if (l == QLatin1String("u"))
        return LetterSetting{1, 10, 1};
    if (l == QLatin1String("l"))
        return LetterSetting{2, 10, 1};
    if (l == QLatin1String("c"))
        return LetterSetting{3, 23, 3};
    return std::nullopt;
}

} // namespace tav::rx320
