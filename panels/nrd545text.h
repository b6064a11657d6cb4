#pragma once
// What the NRD-545 panel and its two dialogs show for the values the receiver
// reports, and the tables the user-settings dialog is built from. Kept apart
// from the windows so the memory manager and the timer programs can show the
// same texts, and so the rules can be checked without a window.

#include <QString>
#include <QStringList>
#include <QVector>

namespace tav::nrd545 {

// AGC step 1..9: "0200".."1800"; 0: "Off"; otherwise "?".
QString agcText(int v);
// IF gain, squelch and volume 0..255 as "00".."99".
QString levelText(int v);
// Tone 0..255 around 127: "+ 5", "  0", "- 3".
QString toneText(int v);
// Pass-band shift -230..230 as "-2.30".."2.30"; otherwise "?".
QString pbsText(int v);
// Bandwidth control 1..999 as "0.01".."9.99"; otherwise "?".
QString bwcText(int v);
// Mode 0..9 from the mode names; otherwise "?".
QString modeText(int v);
// ECSS 1 "AM-U", 2 "AM-L"; otherwise "?".
QString ecssText(int v);
// Filter 0..2 from the filter names; otherwise "?".
QString bandwidthText(int v);
// Attenuator 0 " 0", 1 "-20"; otherwise "?".
QString attenuatorText(int v);

// The 13-character status text split into what the panel shows. A text of
// another length (the receiver did not answer) gives `valid` false.
struct StatusView {
    bool valid = false;
    QString attenuator, bandwidth, mode, agc, frequency;
    int modeDigit = -1;
};
StatusView statusView(const QString &text);
// AGC buttons are of no use in the modes with fixed AGC (AM, NFM, AMS, WFM).
bool agcButtonsEnabled(int modeDigit);

// DSP levels as three digits ("050"); the notch as at least four digits
// with "-" before negative values ("-0500", "0300").
QString dspLevelText(int v);
QString notchText(int v);

// ---- user settings ------------------------------------------------------

struct OptionItem {
    int item;
    QString frame;       // frame caption, ends in the item number
    QString control;     // option array name
    QStringList options; // captions by index
    int defaultIndex;
};
struct SteppedItem {
    int item;
    QString frame;
    QString spin, label, button; // control names
    int start, step, lowest, highest;
};

const QVector<OptionItem> &userOptionItems();
const QVector<SteppedItem> &userSteppedItems();
// The label of a stepped setting: "+0800", "0.5", "0.05", "03.0".
QString steppedText(int item, int value);
// One step up (+1) or down (-1), held within the item's limits.
int stepValue(const SteppedItem &s, int value, int direction);

} // namespace tav::nrd545
