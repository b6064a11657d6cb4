#include "panels/nrd545text.h"

#include "core/globals.h"
#include "core/numtext.h"

#include <cmath>
#include <cstdlib>

namespace tav::nrd545 {

namespace {

// "d.dd" from a count of hundredths, with "-" before negative values.
QString hundredths(int v)
{
    const int a = std::abs(v);
    return QString(v < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 100) + QLatin1Char('.')
           + padded(a % 100, 2);
}

QString digitValueText(const QString &text, int pos)
{
    // The numeric value of one character: a non-digit counts as 0.
    const QChar c = text.at(pos);
    return c.isDigit() ? QString(c) : QStringLiteral("0");
}

} // namespace

QString agcText(int v)
{
    if (v >= 1 && v <= 9)
        return padded(v * 200, 4);
    if (v == 0)
        return QStringLiteral("Off");
    return QStringLiteral("?");
}

QString levelText(int v) { return padded(floorInt(v * 0.39), 2); }

QString toneText(int v)
{
    const int64_t t = roundHalfEven((v - 127) * 0.074);
    const QChar sign = t > 0 ? QLatin1Char('+') : (t < 0 ? QLatin1Char('-') : QLatin1Char(' '));
    return QString(sign) + QLatin1Char(' ') + QString::number(std::llabs(t));
}

QString pbsText(int v) { return (v >= -230 && v <= 230) ? hundredths(v) : QStringLiteral("?"); }

QString bwcText(int v) { return (v >= 1 && v <= 999) ? hundredths(v) : QStringLiteral("?"); }

QString modeText(int v)
{
    return (v >= 0 && v <= 9) ? G.modenames[size_t(v)] : QStringLiteral("?");
}

QString ecssText(int v)
{
    if (v == 1)
        return QStringLiteral("AM-U");
    if (v == 2)
        return QStringLiteral("AM-L");
    return QStringLiteral("?");
}

QString bandwidthText(int v)
{
    return (v >= 0 && v <= 2 && v < G.bwnames.size()) ? G.bwnames[v] : QStringLiteral("?");
}

QString attenuatorText(int v)
{
    if (v == 0)
        return QStringLiteral(" 0");
    if (v == 1)
        return QStringLiteral("-20");
    return QStringLiteral("?");
}

StatusView statusView(const QString &text)
{
    StatusView s;
    if (text.size() != 13) {
        s.attenuator = s.bandwidth = s.mode = s.agc = s.frequency = QStringLiteral("?");
        return s;
    }
    s.valid = true;
    const int att = digitValueText(text, 1).toInt();
    s.attenuator = numSingle(double(att * -20));
    s.bandwidth = bandwidthText(text.at(2).isDigit() ? text.at(2).digitValue() : -1);
    s.modeDigit = digitValueText(text, 3).toInt();
    s.mode = modeText(s.modeDigit);
    s.agc = padded(digitValueText(text, 12).toInt() * 200, 4);
    s.frequency = fixedFormat(numericValue(text.mid(4, 8)) / 1000.0, 1, 3);
    return s;
}

bool agcButtonsEnabled(int modeDigit)
{
    return !(modeDigit == 4 || modeDigit == 5 || modeDigit == 6 || modeDigit == 9);
}

QString dspLevelText(int v) { return padded(v, 3); }

QString notchText(int v)
{
    return v < 0 ? QStringLiteral("-") + padded(-int64_t(v), 4) : padded(v, 4);
}

const QVector<OptionItem> &userOptionItems()
{
    static const QVector<OptionItem> items = {
        {1, QStringLiteral("Tuning steps 1 Hz 1"), QStringLiteral("opt1Hzdisplay"), {QStringLiteral("Off"), QStringLiteral("On")}, 1},
        {2, QStringLiteral("Tuning steps 10 Hz 2"), QStringLiteral("opt10Hzdisplay"), {QStringLiteral("Off"), QStringLiteral("On")}, 0},
        {3, QStringLiteral("Tuning steps 3"), QStringLiteral("optKhzsteps"),
         {QStringLiteral("1 k"), QStringLiteral("5 k"), QStringLiteral("6.25 k"), QStringLiteral("9 k")}, 0},
        {4, QStringLiteral("Tuning steps 100 Hz 4"), QStringLiteral("opt100Hzdisplay"), {QStringLiteral("Off"), QStringLiteral("On")}, 0},
        {8, QStringLiteral("Pulses / turn 8"), QStringLiteral("optPulses"),
         {QStringLiteral("1000"), QStringLiteral(" 500"), QStringLiteral(" 250")}, 0},
        {9, QStringLiteral("S-meter display 9"), QStringLiteral("optSmeterdisplay"),
         {QStringLiteral("Single segment"), QStringLiteral("Bar Graph"), QStringLiteral("Peak hold")}, 1},
        {10, QStringLiteral("Beep on KeyPress 10"), QStringLiteral("optBeeponkey"), {QStringLiteral("Off"), QStringLiteral("On")}, 1},
        {11, QStringLiteral("Scan auto stop 11"), QStringLiteral("optScanautostop"), {QStringLiteral("Off"), QStringLiteral("On")}, 1},
        {12, QStringLiteral("Skip during scan 12"), QStringLiteral("optSkip"), {QStringLiteral("Off"), QStringLiteral("On")}, 1},
        {13, QStringLiteral("Relay Mode 13"), QStringLiteral("optRelaymode"),
         {QStringLiteral("Normally Off"), QStringLiteral("Normally On"), QStringLiteral("Squelch-On/Off")}, 0},
        {18, QStringLiteral("SSB Freq. Display 18"), QStringLiteral("optFreqshift"),
         {QStringLiteral("1.5 kHz shift"), QStringLiteral("No shift")}, 1},
        {19, QStringLiteral("Clock Colon Blinking 19"), QStringLiteral("optColonblink"), {QStringLiteral("Off"), QStringLiteral("On")}, 1},
        {24, QStringLiteral("Input tuning circuit 24"), QStringLiteral("OptInputtuning"), {QStringLiteral("Off "), QStringLiteral("On")}, 1},
        {28, QStringLiteral("Panel lock 28"), QStringLiteral("optPanellock"),
         {QStringLiteral("Main tuning dial"), QStringLiteral("All dials+buttons")}, 1},
        {31, QStringLiteral("Squelch LED 31"), QStringLiteral("optSquelchled"),
         {QStringLiteral("Lights if closed"), QStringLiteral("Lights if open")}, 0},
    };
    return items;
}

const QVector<SteppedItem> &userSteppedItems()
{
    static const QVector<SteppedItem> items = {
        {14, QStringLiteral("CW BFO Pitch 14"), QStringLiteral("spnCWpitch"), QStringLiteral("lblCWpitch"),
         QStringLiteral("cmdCWpitch"), 800, 25, -2550, 5000},
        {20, QStringLiteral("Scan Time 20"), QStringLiteral("spnScantime"), QStringLiteral("lblScantime"),
         QStringLiteral("cmdScantime"), 5, 1, 3, 50},
        {21, QStringLiteral("Sweep time 21"), QStringLiteral("spnSweeptime"), QStringLiteral("lblSweeptime"),
         QStringLiteral("cmdSweeptime"), 5, 1, 5, 50},
        {22, QStringLiteral("Scan auto stop time 22"), QStringLiteral("spnAutostoptime"),
         QStringLiteral("lblAutostoptime"), QStringLiteral("cmdAutostoptime"), 30, 1, 0, 100},
    };
    return items;
}

QString steppedText(int item, int value)
{
    const int a = std::abs(value);
    switch (item) {
    case 14: return QString(value < 0 ? QLatin1Char('-') : QLatin1Char('+')) + padded(a, 4);
    case 20: return QString::number(value / 10) + QLatin1Char('.') + QString::number(a % 10);
    case 21: return QString::number(value / 100) + QLatin1Char('.') + padded(a % 100, 2);
    case 22: return padded(value / 10, 2) + QLatin1Char('.') + QString::number(a % 10);
    default: return QString();
    }
}

int stepValue(const SteppedItem &s, int value, int direction)
{
    const int next = value + (direction < 0 ? -s.step : s.step);
    if (next < s.lowest)
        return s.lowest;
    if (next > s.highest)
        return s.highest;
    return next;
}

} // namespace tav::nrd545
