#include "sim/band.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace sim {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// A carrier reads its full strength within this distance of the dial...
constexpr double kFlatKHz = 1.0;
// ...and falls this many S-units per kHz beyond it, into the noise within a
// broadcast channel (5 kHz).
constexpr double kFallPerKHz = 2.5;
constexpr double kReachKHz = 8.0;
// Fading swings a carrier this many S-units either way; the noise flickers
// half this much from one half second to the next.
constexpr double kFadeDepth = 2.0;
constexpr double kFlicker = 0.4;
constexpr double kFlickerSlotS = 0.5;
// The receivers tune up to 30 MHz; a value outside is no frequency.
constexpr double kLowestKHz = 10, kHighestKHz = 30000;

uint64_t mix(uint64_t x)
{
    // splitmix64's finaliser: every input bit reaches every output bit.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A carrier's identity for its draws: its frequency to the 10 Hz.
uint64_t carrierKey(double kHz) { return uint64_t(std::llround(kHz * 100)); }

double powerOf(double sunits) { return std::pow(10.0, 0.6 * sunits); }

// ---- frequencies in the files of a data directory ----

std::optional<double> number(const QString &text, double scale = 1)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok) * scale;
    if (!ok || !(v >= kLowestKHz && v <= kHighestKHz))
        return std::nullopt;
    return v;
}

QStringList words(const QString &line) { return line.split(QLatin1Char(' '), Qt::SkipEmptyParts); }
QStringList fields(const QString &line) { return line.split(QLatin1Char(',')); }

// Where each kind of file keeps its frequencies, by folder: the line (with its
// index in the file) gives the numbers that are frequencies, and in what unit.
struct Source {
    const char *folder;
    const char *suffix;
    std::function<void(const QString &line, int index, QList<double> &out)> take;
};

void add(QList<double> &out, std::optional<double> v)
{
    if (v)
        out << *v;
}

void lastColumnList(const QString &line, int, QList<double> &out)
{
    const QStringList w = words(line);
    if (!w.isEmpty())
        for (const QString &f : fields(w.last()))
            add(out, number(f));
}

const QList<Source> &sources()
{
    static const QList<Source> s{
        // Scan list: one kHz a line ("-" for an empty place).
        {"SFL", ".txt", [](const QString &l, int, QList<double> &o) { add(o, number(l)); }},
        // Pair scan: the pair's two kHz first.
        {"SFP", ".txt",
         [](const QString &l, int, QList<double> &o) {
             const QStringList f = fields(l);
             for (int i = 0; i < std::min<int>(2, int(f.size())); ++i)
                 add(o, number(f[i]));
         }},
        // Scratch pad: a name, then kHz.
        {"FSP", ".txt",
         [](const QString &l, int, QList<double> &o) {
             const QStringList f = fields(l);
             for (int i = 1; i < f.size(); ++i)
                 add(o, number(f[i]));
         }},
        // Broadcast and own lists: the last column lists kHz.
        {"BDXC", ".txt", lastColumnList},
        {"OWN", ".txt", lastColumnList},
        // ".320" lists: MHz in the second field.
        {"F320", ".320", [](const QString &l, int, QList<double> &o) { add(o, number(fields(l).value(1), 1000)); }},
        // Memory files: Hz after the channel.
        {"MEM", ".txt", [](const QString &l, int, QList<double> &o) { add(o, number(words(l).value(1), 0.001)); }},
        // Logbook: kHz in the fifth column.
        {"LOG", ".txt", [](const QString &l, int, QList<double> &o) { add(o, number(words(l).value(4))); }},
        // Timer programs: Hz last.
        {"TPR", ".txt", [](const QString &l, int, QList<double> &o) { add(o, number(fields(l).last(), 0.001)); }},
        // Propagation files: kHz on the second line.
        {"PAN", ".txt",
         [](const QString &l, int i, QList<double> &o) {
             if (i == 1)
                 add(o, number(l));
         }},
        // Station files: kHz in the first eight columns.
        {"RX2DB", ".ftl", [](const QString &l, int, QList<double> &o) { add(o, number(l.left(8))); }},
    };
    return s;
}

// Far larger than any list a listener keeps: not read.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

QStringList latin1Lines(const QString &path)
{
    QFile f(path);
    if (f.size() > kLargestFile || !f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromLatin1(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.split(QLatin1Char('\n'));
}

} // namespace

Band::Band(uint64_t seed) : m_seed(seed) { m_run.start(); }

double Band::unit(uint64_t key, int draw) const
{
    const uint64_t h = mix(mix(m_seed) ^ mix(key * 0x100000001B3ull + uint64_t(draw)));
    return double(h >> 11) / double(uint64_t(1) << 53);
}

double Band::defaultStrength(double kHz) const { return 7.0 + 5.5 * unit(carrierKey(kHz), 0); }

void Band::setCarrier(double kHz, double sunits)
{
    for (Carrier &c : m_carriers)
        if (std::abs(c.kHz - kHz) < 0.1) {
            c.sunits = sunits;
            return;
        }
    m_carriers.append({kHz, sunits});
}

bool Band::removeCarrier(double kHz)
{
    return m_carriers.removeIf([&](const Carrier &c) { return std::abs(c.kHz - kHz) < 0.1; }) > 0;
}

double Band::seconds() const { return m_stopped ? m_time : m_time + double(m_run.nsecsElapsed()) / 1e9; }

void Band::setTime(double s)
{
    m_stopped = true;
    m_time = s;
}

double Band::fade(const Carrier &c, double t) const
{
    if (!m_fading)
        return 0;
    // Three swings: the path over half an hour, the ionosphere's minute, and
    // the quick flutter of a few seconds; periods and phases are the carrier's own.
    const uint64_t k = carrierKey(c.kHz);
    const double periods[3] = {1200 + 1200 * unit(k, 1), 25 + 50 * unit(k, 2), 6 + 10 * unit(k, 3)};
    const double weights[3] = {0.5, 0.35, 0.15};
    double f = 0;
    for (int i = 0; i < 3; ++i)
        f += weights[i] * std::sin(kTwoPi * (t / periods[i] + unit(k, 4 + i)));
    return kFadeDepth * f;
}

double Band::flicker(double kHz, double t) const
{
    if (!m_fading)
        return 0;
    const uint64_t slot = uint64_t(int64_t(std::floor(t / kFlickerSlotS)));
    const uint64_t bin = uint64_t(int64_t(std::floor(kHz)));
    return kFlicker * (2 * unit(mix(slot) ^ bin, 7) - 1);
}

double Band::levelAt(double kHz, double t) const
{
    // Powers add: a carrier at the floor lifts it, one far above hides it.
    double p = powerOf(m_noise + flicker(kHz, t));
    for (const Carrier &c : m_carriers) {
        const double d = std::abs(kHz - c.kHz);
        if (d >= kReachKHz)
            continue;
        p += powerOf(c.sunits + fade(c, t) - kFallPerKHz * std::max(0.0, d - kFlatKHz));
    }
    return std::max(0.0, std::log10(p) / 0.6);
}

QList<double> Band::listedFrequencies(const QString &dataDir)
{
    QList<double> found;
    const QDir root(dataDir);
    for (const QString &folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const Source &s : sources()) {
            if (folder.compare(QLatin1String(s.folder), Qt::CaseInsensitive) != 0)
                continue;
            const QDir d(root.filePath(folder));
            for (const QString &name : d.entryList(QDir::Files)) {
                if (!name.endsWith(QLatin1String(s.suffix), Qt::CaseInsensitive))
                    continue;
                const QStringList lines = latin1Lines(d.filePath(name));
                for (int i = 0; i < lines.size(); ++i)
                    s.take(lines[i], i, found);
            }
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end(), [](double a, double b) { return std::abs(a - b) < 0.1; }),
                found.end());
    return found;
}

int Band::addCarriersFrom(const QString &dataDir)
{
    const QList<double> f = listedFrequencies(dataDir);
    for (double kHz : f)
        addCarrier(kHz);
    return int(f.size());
}

bool Band::control(const QString &line)
{
    const QStringList w = words(line.simplified());
    auto value = [&](int i, double lo, double hi) -> std::optional<double> {
        bool ok = false;
        const double v = w.value(i).toDouble(&ok);
        return ok && v >= lo && v <= hi ? std::optional<double>(v) : std::nullopt;
    };
    if (w.size() == 3 && w[0] == QLatin1String("carrier")) {
        const auto kHz = value(1, kLowestKHz, kHighestKHz);
        const auto s = value(2, 0, 18);
        if (!kHz || !s)
            return false;
        if (*s == 0)
            removeCarrier(*kHz);
        else
            setCarrier(*kHz, *s);
        return true;
    }
    if (w.size() == 2 && w[0] == QLatin1String("noise")) {
        const auto s = value(1, 0, 18);
        if (!s)
            return false;
        m_noise = *s;
        return true;
    }
    if (w.size() == 2 && w[0] == QLatin1String("fading")
        && (w[1] == QLatin1String("on") || w[1] == QLatin1String("off"))) {
        m_fading = w[1] == QLatin1String("on");
        return true;
    }
    return false;
}

QStringList Band::controlHelp()
{
    return {QStringLiteral("band            the S-meter follows the band again after \"smeter\" set it"),
            QStringLiteral("carrier KHZ S   a carrier at KHZ of S S-units (0 takes it away)"),
            QStringLiteral("noise S         the noise floor between carriers, S-units"),
            QStringLiteral("fading on|off   slow fading of the carriers and flicker of the noise")};
}

} // namespace sim
