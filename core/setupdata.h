#pragma once
// Names for the numbered settings. The settings file keeps them as numbered
// lines (line 4 + k holds setting k), so the numbers stay; everything outside
// the settings reader and writer uses these names instead.

#include "core/globals.h"
#include "core/numtext.h"

#include <cstddef>

namespace tav {

enum class Setting : int {
    ComPort = 1,             // serial port number 1..5
    TargetArea = 2,          // index into targetareas 0..8
    UtcOffsetHours = 3,      // local time minus UTC, whole or half hours
    DimBdxc = 4,             // list sizes in thousands of rows
    DimOwn = 5,              // also the ".320" list
    DimLog = 6,
    DimIlg = 7,              // also the aero and tracking lists
    StartStep = 8,           // index into stepdefaults 0..2
    Unused9 = 9,
    Nrd535NarFitted = 10,    // NRD-535 options fitted (0/1)
    Nrd535BwcFitted = 11,
    Nrd535EcssFitted = 12,
    Nrd535RttyFitted = 13,
    Ar7030FilterAm = 14,     // AR7030 standard filter 1..6 per kind of mode
    Ar7030FilterSsb = 15,    // also data
    Ar7030FilterCw = 16,
    Ar7030FilterFm = 17,
    Rx320MuteSpeaker = 18,   // RX-320: mute on panel close (0/1)
    Rx320MuteLine = 19,
    Rx320Corr5MHz = 20,      // RX-320 frequency corrections, Hz
    Rx320Corr15MHz = 21,
    Ar7030LineBarsOff = 22,  // AR7030 line-level bars disabled (0/1)
    Nrd545AgcFast = 23,      // NRD-545 AGC time factors, x 200 ms
    Nrd545AgcMed = 24,
    Nrd545AgcSlow = 25,
    Nrd545NrDefault = 26,    // NRD-545 noise reduction / beat canceller defaults
    Nrd545BcDefault = 27,
    Ar7030LineLevelL = 28,   // 0..99
    Ar7030LineLevelR = 29,
    Rx320LineBarOff = 30,    // RX-320 line-level bar disabled (0/1)
    Rx320LineLevel = 31,     // 0..99
    Unused32 = 32,
};

// The list sizes (settings 4 to 7) count thousands of rows; the set-up
// dialog takes 1 to kListSizeLargest under these captions.
inline constexpr int kListSizeLargest = 30;
inline const char *listSizeCaption(Setting size)
{
    switch (size) {
    case Setting::DimBdxc: return "Dim BDXC";
    case Setting::DimOwn: return "Dim OWN";
    case Setting::DimLog: return "Dim LOG";
    case Setting::DimIlg: return "Dim ILG";
    default: return "";
    }
}

// The stored value (single precision, as the file holds it).
inline float &setting(Setting k) { return G.setupdata[size_t(k)]; }
// The value rounded to a whole number (half to even), as choices and levels are used.
inline int settingInt(Setting k) { return int(roundHalfEven(double(setting(k)))); }
// A yes/no setting that holds exactly 1.
inline bool settingOn(Setting k) { return setting(k) == 1; }

// Settings that come in rows, for code that walks them.
inline Setting nrd535Option(int i) { return Setting(int(Setting::Nrd535NarFitted) + i); }       // i 0..3
inline Setting ar7030Filter(int i) { return Setting(int(Setting::Ar7030FilterAm) + i); }         // i 0..3
inline Setting rx320Mute(int i) { return Setting(int(Setting::Rx320MuteSpeaker) + i); }          // i 0..1
inline Setting rx320Correction(int i) { return Setting(int(Setting::Rx320Corr5MHz) + i); }       // i 0..1
inline Setting nrd545AgcFactor(int i) { return Setting(int(Setting::Nrd545AgcFast) + i); }       // i 0..2
inline Setting nrd545DspDefault(int i) { return Setting(int(Setting::Nrd545NrDefault) + i); }    // i 0..1

} // namespace tav
