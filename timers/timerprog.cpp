#include "timers/timerprog.h"
#include "drivers/receiver.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/setupdata.h"

#include <QTimeZone>
#include <algorithm>
#include <cmath>

namespace tav {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int lastDayOfMonth(int month, int year)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    return days[month - 1] + ((month == 2 && isLeapYear(year)) ? 1 : 0);
}

const QString &monthName(int month)
{
    static const QString names[] = {QString(),         QStringLiteral("Jan"), QStringLiteral("Feb"),
                                    QStringLiteral("Mar"), QStringLiteral("Apr"), QStringLiteral("May"),
                                    QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
                                    QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"),
                                    QStringLiteral("Dec")};
    return names[(month >= 1 && month <= 12) ? month : 0];
}

namespace {

QString startOf(int year, int month, int day, int hour, int minute)
{
    return padded(year, 4) + QLatin1Char(' ') + padded(month, 2) + QLatin1Char(' ') + padded(day, 2) +
           QLatin1Char(' ') + padded(hour, 2) + QLatin1Char(':') + padded(minute, 2);
}

QString nameAt(const std::array<QString, 11> &t, int i) { return (i >= 0 && i < 11) ? t[size_t(i)] : QString(); }
QString bwName(int i) { return (i >= 0 && i < G.bwnames.size()) ? G.bwnames[i] : QString(); }

// "0.0" with "." whatever the locale.
QString tenths(double v) { return fixedFormat(v, 1, 1); }

int wrap(int v, int lo, int hi) { return v > hi ? lo : (v < lo ? hi : v); }

} // namespace

QString startText(const ProgRow &r) { return startOf(r[3], r[2], r[1], r[4], r[5]); }

QString endText(const ProgRow &r)
{
    const QDateTime start(QDate(r[3], r[2], r[1]), QTime(r[4], r[5]), QTimeZone::utc());
    const QDateTime end = start.addSecs(qint64(r[6]) * 60);
    return startOf(end.date().year(), end.date().month(), end.date().day(), end.time().hour(), end.time().minute());
}

bool rowEmpty(const ProgRow &row)
{
    for (int c = 1; c <= 20; ++c)
        if (row[size_t(c)] != 0)
            return false;
    return true;
}

double rowFrequencyKHz(const ProgRow &row)
{
    long long hz = 0, p = 1;
    for (int k = 0; k < 8; ++k, p *= 10)
        hz += row[size_t(13 + k)] * p;
    return double(hz) / 1000.0;
}

// ---- the model's rules ----

SettingRules timerSettingRules(int rxtype, int bw, int mode)
{
    const RxModel &m = rxModel(rxtype);
    const TimerRanges &t = m.timer;
    const IntRange ranges[6] = {t.att, t.bw, t.pbs, t.bwc, t.mode, t.agc};
    SettingRules r;
    for (int f = 0; f < 6; ++f) {
        r[size_t(f)].range = ranges[f];
        // A setting the model lacks holds 0.
        if (ranges[f].lo == 0 && ranges[f].hi == 0)
            r[size_t(f)].free = false, r[size_t(f)].held = 0;
    }
    // The width spinner starts at one step: a width of 0, which the run
    // would send as such, is nothing the editor can set.
    if (m.timerEditing.rules != TimerEditing::Rules::None && r[3].free)
        r[3].range.lo = std::max(r[3].range.lo, m.timerEditing.bwcStep);
    if (m.timerEditing.bandwidthFixed)
        r[1].free = false, r[1].held.reset();
    auto hold = [&r](int f, int value, const QString &because) {
        r[size_t(f)].free = false;
        r[size_t(f)].held = value;
        r[size_t(f)].because = because;
    };
    // By the names the editor shows, or the number where a name is missing.
    auto named = [](const QString &name, int v) { return name.isEmpty() ? QString::number(v) : name; };
    const QString inMode = QStringLiteral("in mode ") + named(nameAt(G.modenames, mode), mode);
    switch (m.timerEditing.rules) {
    case TimerEditing::Rules::FittedOptions: {
        if (setting(Setting::Nrd535EcssFitted) == 0) {
            r[4].range.hi = 6;
            r[4].because = QStringLiteral("without the ECSS option");
        }
        if (setting(Setting::Nrd535NarFitted) == 0) {
            r[1].skip = 2;
            r[1].because = QStringLiteral("without the 1 kHz option");
        }
        // Mode 5 takes the Aux filter, no shift or width and its own AGC.
        if (mode == 5) {
            hold(1, 3, inMode);
            hold(2, 0, inMode);
            hold(3, 0, inMode);
            hold(5, 2, inMode);
            break;
        }
        // The width control works on the Wide and Intermediate filters only.
        const QString withBw = QStringLiteral("with the bandwidth ") + named(bwName(bw), bw);
        if (!settingOn(Setting::Nrd535BwcFitted))
            hold(3, 0, QStringLiteral("without the BWC option"));
        else if (bw == 0 || bw == 1)
            r[3].range = bw == 0 ? IntRange{2000, 5500} : IntRange{500, 2200}, r[3].because = withBw;
        else
            hold(3, 0, withBw);
        break;
    }
    case TimerEditing::Rules::ModeHeldSettings:
        if (mode == 5 || mode == 6) {
            hold(2, 0, inMode);
            hold(3, 990, inMode);
            hold(5, mode == 6 ? 1 : 2, inMode);
        } else if (mode == 4 || mode == 7 || mode == 8) {
            hold(5, 1, inMode);
        }
        break;
    default: break;
    }
    return r;
}

// ---- editor ----

TimerEditor::TimerEditor(int rxtype) : m_rx(rxtype) {}

QString TimerEditor::dateLabel(int i) const
{
    switch (i) {
    case 0: return QString::number(day);
    case 1: return monthName(month);
    default: return QString::number(year).right(2);
    }
}

QString TimerEditor::timeLabel(int i) const
{
    switch (i) {
    case 0: return padded(hour, 2);
    case 1: return padded(minute, 2);
    default: return QString::number(duration);
    }
}

QString TimerEditor::rxLabel(int i) const
{
    if (!rxEnabled[size_t(i)])
        return QStringLiteral("xxx");
    switch (i) {
    case 0: return nameAt(G.attnames, att);
    case 1: return bwName(bw);
    case 2:
        if (!m_pbsRead.isEmpty())
            return m_pbsRead;
        switch (editing().shift) {
        case TimerEditing::Shift::BarTable: return rxModel(m_rx).stepText(pbs);
        case TimerEditing::Shift::TenthsKHz: return tenths(pbs * 0.01);
        case TimerEditing::Shift::Hz: break;
        }
        return padded(pbs, 4);
    case 3: return editing().width == TimerEditing::Width::TenthsKHz ? tenths(bwc / 100.0) : padded(bwc, 4);
    case 4: return nameAt(G.modenames, mode);
    default: return nameAt(G.agcnames, agc);
    }
}

QStringList TimerEditor::rxLabelTexts(int i) const
{
    QStringList out{QStringLiteral("xxx"), QStringLiteral("?")};
    if (i < 0 || i > 5)
        return out;
    const TimerRanges &t = rxModel(m_rx).timer;
    const IntRange ranges[6] = {t.att, t.bw, t.pbs, t.bwc, t.mode, t.agc};
    TimerEditor e(m_rx);
    int *fields[6] = {&e.att, &e.bw, &e.pbs, &e.bwc, &e.mode, &e.agc};
    for (int v = ranges[i].lo; v <= ranges[i].hi; ++v) {
        *fields[i] = v;
        out << e.rxLabel(i);
        if (i == 2)
            out << QString::number(v); // the RX-320's reading
    }
    return out;
}

void TimerEditor::spinDate(int index, bool up)
{
    switch (index) {
    case 0: day = wrap(day + (up ? 1 : -1), 1, lastDayOfMonth(month, year)); break;
    case 1:
        month = wrap(month + (up ? 1 : -1), 1, 12);
        day = std::min(day, lastDayOfMonth(month, year));
        break;
    case 2:
        year = std::clamp(year + (up ? 1 : -1), kFirstYear, kLastYear);
        day = std::min(day, lastDayOfMonth(month, year));
        break;
    default: break;
    }
}

void TimerEditor::spinTime(int index, bool up)
{
    switch (index) {
    case 0: hour = wrap(hour + (up ? 1 : -1), 0, 23); break;
    case 1: minute = wrap(minute + (up ? 1 : -1), 0, 59); break;
    case 2: duration = std::clamp(duration + (up ? 1 : -1), 1, 240); break;
    default: break;
    }
}

long long TimerEditor::frequencyHz() const
{
    long long hz = 0, p = 1;
    for (int k = 0; k < 8; ++k, p *= 10)
        hz += digits[size_t(k)] * p;
    return hz;
}

void TimerEditor::setFrequencyKHz(double kHz)
{
    long long hz = std::llround(kHz * 1000.0);
    hz = std::clamp<long long>(hz, 0, 99999999);
    for (int k = 0; k < 8; ++k, hz /= 10)
        digits[size_t(k)] = int(hz % 10);
}

void TimerEditor::spinFreq(int i, bool up)
{
    if (i < 0 || i > 7)
        return;
    // The highest digit goes no further than the receiver's top tens of MHz.
    const int top = QString::number(int(rxModel(m_rx).freqMaxKHz)).left(1).toInt();
    int d = digits[size_t(i)] + (up ? 1 : -1);
    if (up) {
        if (d > 9 || (i == 7 && d > top))
            d = 0;
    } else if (d < 0) {
        d = (i == 7) ? top : 9;
    }
    digits[size_t(i)] = d;
    const long long hz = frequencyHz();
    if (hz > std::llround(rxModel(m_rx).freqMaxKHz * 1000.0))
        setFrequencyKHz(rxModel(m_rx).freqMaxKHz);
    else if (hz < std::llround(rxModel(m_rx).freqMinKHz * 1000.0))
        setFrequencyKHz(rxModel(m_rx).freqMinKHz);
}

void TimerEditor::spinRxSetting(int i, bool up)
{
    if (i < 0 || i > 5 || !rxEnabled[size_t(i)])
        return;
    m_pbsRead.clear();
    const int s = up ? 1 : -1;
    // The ends and the values left out are the rules'; the steps the model's.
    const SettingRules r = rules();
    const SettingRule &rule = r[size_t(i)];
    const TimerEditing &e = editing();
    using Rules = TimerEditing::Rules;
    if (e.rules == Rules::None || !rule.free)
        return;
    const IntRange &range = rule.range;
    switch (i) {
    case 0: att = wrap(att + s, range.lo, range.hi); break;
    case 1: {
        const int step = e.rules == Rules::ReversedFilterList ? -s : s;
        bw = wrap(bw + step, range.lo, range.hi);
        if (rule.skip && bw == *rule.skip)
            bw = wrap(bw + step, range.lo, range.hi);
        if (e.rules == Rules::FittedOptions)
            nrd535option11();
        break;
    }
    case 2:
        pbs = wrap(pbs + e.pbsStep * s, range.lo, range.hi);
        if (e.rules == Rules::ModeHeldSettings)
            savedpbs = pbs; // an enabled field's saved value follows the user's edits
        break;
    case 3:
        // A program may hold no width (0); the editor starts at one step.
        bwc = wrap(bwc + e.bwcStep * s, std::max(range.lo, e.bwcStep), range.hi);
        if (e.rules == Rules::ModeHeldSettings)
            savedbwc = bwc;
        break;
    case 4:
        if (e.rules == Rules::FittedOptions) {
            const int old = prevmode;
            mode = wrap(mode + s, range.lo, range.hi);
            prevmode = mode;
            if (mode == 5 || old == 5)
                nrd535smdis5();
        } else {
            mode = wrap(mode + s, range.lo, range.hi);
            if (e.rules == Rules::ModeHeldSettings)
                nrd545smdisx();
            prevmode = mode;
        }
        break;
    case 5:
        agc = wrap(agc + s, range.lo, range.hi);
        if (e.rules == Rules::ModeHeldSettings)
            savedagc = agc;
        break;
    default: break;
    }
}

const TimerEditing &TimerEditor::editing() const { return rxModel(m_rx).timerEditing; }

void TimerEditor::takeRules()
{
    const SettingRules r = rules();
    int *fields[6] = {&att, &bw, &pbs, &bwc, &mode, &agc};
    for (int f = 0; f < 6; ++f) {
        rxEnabled[size_t(f)] = r[size_t(f)].free;
        if (r[size_t(f)].held)
            *fields[f] = *r[size_t(f)].held;
    }
}

void TimerEditor::nrd535option11()
{
    const SettingRule w = rules()[3];
    rxEnabled[3] = w.free;
    if (!w.free) {
        bwcmax = bwcmin = bwc = w.held.value_or(0);
        return;
    }
    bwcmin = w.range.lo;
    bwcmax = w.range.hi;
    bwc = bwcmax;
}

void TimerEditor::nrd535smdis5()
{
    m_pbsRead.clear();
    if (mode == 5) {
        savedbw = bw;
        savedagc = agc;
        takeRules();
        return;
    }
    bw = savedbw;
    pbs = 0;
    agc = savedagc;
    takeRules();
    nrd535option11();
}

void TimerEditor::nrd545smdisx()
{
    // Only a field coming back from disabled takes its saved value, so the
    // user's choices survive a walk through the modes.
    const SettingRules r = rules();
    struct Kept {
        int field;
        int *value, *saved;
    };
    for (const Kept &k : {Kept{2, &pbs, &savedpbs}, Kept{3, &bwc, &savedbwc}, Kept{5, &agc, &savedagc}}) {
        const bool wasFree = rxEnabled[size_t(k.field)];
        if (r[size_t(k.field)].free && !wasFree)
            *k.value = *k.saved;
        else if (!r[size_t(k.field)].free && wasFree)
            *k.saved = *k.value;
    }
    takeRules();
}

void TimerEditor::setUtc(const QDateTime &utc)
{
    day = utc.date().day();
    month = utc.date().month();
    year = std::clamp(utc.date().year(), kFirstYear, kLastYear);
    day = std::min(day, lastDayOfMonth(month, year));
    hour = utc.time().hour();
    minute = utc.time().minute();
}

void TimerEditor::setFromReceiver(const Reading &r)
{
    att = r.att;
    bw = r.bw;
    pbs = r.pbs;
    bwc = r.bwc;
    agc = r.agc;
    mode = r.mode;
    rxEnabled.fill(true);
    m_pbsRead.clear();
    switch (editing().rules) {
    case TimerEditing::Rules::FittedOptions:
        pbs = 0;
        if (mode == 5) {
            nrd535smdis5();
        } else {
            takeRules();
            nrd535option11();
            m_pbsRead = QStringLiteral("0"); // the status text carries no shift
        }
        break;
    case TimerEditing::Rules::ModeHeldSettings: {
        savedpbs = pbs;
        // A width reading the spinner cannot reach is taken as the nearest it can.
        const IntRange w = timerSettingRules(m_rx, bw, 0)[3].range;
        bwc = std::clamp(bwc, w.lo, std::max(w.lo, w.hi));
        savedbwc = bwc;
        savedagc = agc;
        nrd545smdisx();
        break;
    }
    default:
        takeRules();
        if (editing().shiftShownAsRead)
            m_pbsRead = QString::number(pbs);
        break;
    }
    prevmode = mode;
}

QString TimerEditor::startText() const { return startOf(year, month, day, hour, minute); }

ProgRow TimerEditor::toRow() const
{
    ProgRow r{};
    const int v[] = {day, month, year, hour, minute, duration, att, bw, pbs, bwc, mode, agc};
    for (int c = 0; c < 12; ++c)
        r[size_t(c + 1)] = v[c];
    for (int k = 0; k < 8; ++k)
        r[size_t(13 + k)] = digits[size_t(k)];
    return r;
}

void TimerEditor::fromRow(const ProgRow &r)
{
    day = r[1], month = r[2], year = r[3], hour = r[4], minute = r[5], duration = r[6];
    att = r[7], bw = r[8], pbs = r[9], bwc = r[10], mode = r[11], agc = r[12];
    for (int k = 0; k < 8; ++k)
        digits[size_t(k)] = r[size_t(13 + k)];
    prevmode = mode;
    m_pbsRead.clear();
    // The settings the rules hold in this mode show "xxx" again and the others
    // are free, whatever the editor showed before; the stored values are what
    // a mode change brings back.
    savedbw = bw, savedpbs = pbs, savedbwc = bwc, savedagc = agc;
    takeRules();
    if (editing().rules == TimerEditing::Rules::FittedOptions) {
        const SettingRule w = rules()[3];
        bwcmin = w.free ? w.range.lo : 0;
        bwcmax = w.free ? w.range.hi : 0;
    }
}

// ---- table ----

int TimerTable::highestFixed() const
{
    int k = 0;
    for (int n = 1; n <= kPrograms; ++n)
        if (progfixed[size_t(n)])
            k = n;
    return k;
}

void TimerTable::clearRow(int n)
{
    progdata[size_t(n)].fill(0);
    progfixed[size_t(n)] = false;
}

bool TimerTable::tooLate(const QString &start, const QString &nowMinute)
{
    if (nowMinute.size() < 16)
        return true;
    return start <= nowMinute.left(16);
}

bool TimerTable::tooEarly(int n, const QString &start) const
{
    if (n < 2 || n > kPrograms)
        return false;
    return start <= endText(progdata[size_t(n - 1)]);
}

QStringList TimerTable::takePrograms(const std::array<ProgRow, kPrograms + 1> &rows, const QString &nowMinute)
{
    for (int n = 1; n <= kPrograms; ++n)
        clearRow(n);
    QStringList left;
    int n = 0;
    for (int line = 1; line <= kPrograms; ++line) {
        const ProgRow &p = rows[size_t(line)];
        if (p[1] == 0)
            continue;
        const QString where = QStringLiteral("Line %1: ").arg(line);
        const QString start = startText(p);
        if (tooLate(start, nowMinute)) {
            left << where + QStringLiteral("the start %1 has passed").arg(start);
            continue;
        }
        if (n > 0 && tooEarly(n + 1, start)) {
            // A start in the minute the previous program ends is refused too.
            left << where + QStringLiteral("the program at %1 does not start after the previous program ends (%2)")
                                .arg(start, endText(progdata[size_t(n)]));
            continue;
        }
        ++n;
        progdata[size_t(n)] = p;
        progfixed[size_t(n)] = true;
    }
    return left;
}

// ---- TPR_ ----

QString tprLine(const ProgRow &row)
{
    QString s;
    for (int c = 1; c <= 12; ++c) {
        const int v = row[size_t(c)];
        s += (v >= 0 ? QStringLiteral(" ") : QString()) + QString::number(v) + QLatin1Char(',');
    }
    for (int c = 20; c >= 13; --c)
        s += QString::number(row[size_t(c)]).right(1);
    return s;
}

std::optional<ProgRow> parseTprLine(const QString &line)
{
    if (line.size() < 9)
        return std::nullopt;
    const QString digits = line.right(8);
    const QString fields = line.left(line.size() - 8);
    for (QChar c : digits)
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
    if (!fields.endsWith(QLatin1Char(',')) || fields.count(QLatin1Char(',')) != 12)
        return std::nullopt;
    ProgRow r{};
    const QStringList parts = fields.split(QLatin1Char(','));
    for (int c = 1; c <= 12; ++c) {
        const QString p = parts[c - 1].trimmed();
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok || v < -32768 || v > 32767)
            return std::nullopt;
        r[size_t(c)] = v;
    }
    for (int k = 1; k <= 8; ++k)
        r[size_t(21 - k)] = digits[k - 1].digitValue();
    return r;
}

QStringList tprLines(const std::array<ProgRow, kPrograms + 1> &table)
{
    QStringList lines;
    for (int n = 1; n <= kPrograms; ++n)
        lines << tprLine(table[size_t(n)]);
    return lines;
}

QString timerRowProblem(const ProgRow &row, int rxtype)
{
    const RxModel &m = rxModel(rxtype);
    struct Check {
        const char *what;
        int column;
        IntRange range;
    };
    const int month = row[2], year = row[3];
    const Check checks[] = {
        {"month", 2, {1, 12}},
        {"year", 3, {kFirstYear, kLastYear}},
        {"day", 1, {1, (month >= 1 && month <= 12) ? lastDayOfMonth(month, year) : 31}},
        {"hour", 4, {0, 23}},
        {"minute", 5, {0, 59}},
        {"duration", 6, {1, 240}},
        {"attenuator", 7, m.timer.att},
        {"bandwidth", 8, m.timer.bw},
        {"pass-band shift", 9, m.timer.pbs},
        {"bandwidth control", 10, m.timer.bwc},
        {"mode", 11, m.timer.mode},
        {"AGC", 12, m.timer.agc},
    };
    for (const Check &c : checks) {
        const int v = row[size_t(c.column)];
        if (!c.range.contains(v))
            return QStringLiteral("the %1 %2 is not in %3 to %4")
                .arg(QLatin1String(c.what))
                .arg(v)
                .arg(c.range.lo)
                .arg(c.range.hi);
    }
    for (int c = 13; c <= 20; ++c)
        if (row[size_t(c)] < 0 || row[size_t(c)] > 9)
            return QStringLiteral("a frequency digit is not 0 to 9");
    const double khz = rowFrequencyKHz(row);
    if (!(khz >= m.freqMinKHz && khz <= m.freqMaxKHz))
        return QStringLiteral("the frequency %1 kHz is not in %2 to %3 kHz")
            .arg(numPlain(khz), numPlain(m.freqMinKHz), numPlain(m.freqMaxKHz));
    // Each value lies in its range; now the rules between the settings, so a
    // program holds what the editor would show and the run sends.
    const SettingRules rules = timerSettingRules(rxtype, row[8], row[11]);
    for (int f = 0; f < 6; ++f) {
        const SettingRule &rule = rules[size_t(f)];
        const Check &c = checks[6 + f];
        const int v = row[size_t(c.column)];
        const QString because = rule.because.isEmpty() ? QString() : QLatin1Char(' ') + rule.because;
        if (rule.held && v != *rule.held)
            return QStringLiteral("%1 the %2 is %3, not %4")
                .arg(rule.because, QLatin1String(c.what))
                .arg(*rule.held)
                .arg(v)
                .trimmed();
        if (rule.free && !rule.range.contains(v))
            return QStringLiteral("the %1 %2 is not in %3 to %4%5")
                .arg(QLatin1String(c.what))
                .arg(v)
                .arg(rule.range.lo)
                .arg(rule.range.hi)
                .arg(because);
        if (rule.free && rule.skip && v == *rule.skip)
            return QStringLiteral("the %1 %2 is not taken%3").arg(QLatin1String(c.what)).arg(v).arg(because);
    }
    return QString();
}

TprReadResult tprRead(const QStringList &lines, int rxtype, std::array<ProgRow, kPrograms + 1> &table)
{
    TprReadResult res;
    for (ProgRow &r : table)
        r.fill(0);
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (i >= kPrograms) {
            if (!line.trimmed().isEmpty())
                ++res.linesPast;
            continue;
        }
        const QString where = QStringLiteral("Line %1: ").arg(i + 1);
        const std::optional<ProgRow> r = parseTprLine(line);
        if (!r) {
            res.refused << where + QStringLiteral("not a timer program");
            continue;
        }
        // A row whose day is 0 is an empty program, whatever else it holds.
        if ((*r)[1] == 0)
            continue;
        const QString problem = timerRowProblem(*r, rxtype);
        if (!problem.isEmpty()) {
            res.refused << where + problem;
            continue;
        }
        table[size_t(i + 1)] = *r;
    }
    res.count = kPrograms;
    for (int k = 1; k <= kPrograms; ++k)
        if (table[size_t(k)][1] == 0) {
            res.count = k - 1;
            break;
        }
    return res;
}

std::array<ProgRow, kPrograms + 1> &tprdata()
{
    static std::array<ProgRow, kPrograms + 1> t{};
    return t;
}

} // namespace tav
