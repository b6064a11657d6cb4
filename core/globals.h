#pragma once
// Program-wide state. The names are the ones every part of the program uses
// (`datapath`, `rxtype`, `setupdata`, `formleft`, ...); they live in one
// object so that tests can put the whole program back to its start-up state.

#include "core/filekind.h"

#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

namespace tav {

// The positions file keeps one line per slot, 1..kPositionSlots; a window's
// slot is in its declaration (core/windowdecl.h), 0 keeping none.
inline constexpr int kPositionSlots = 45;

struct ProgramState {
    // Settings (tavorin2.ini)
    QString datapath;          // always ends in "/"
    QString rxlatitude;
    QString rxlongitude;
    int16_t rxtype = 0;        // 0 none, 1 AR7030, 2 NRD-535, 3 RX-320, 4 NRD-545
    std::array<float, 33> setupdata{};   // 1..32 used

    // Where tavorin2.ini / formpositions.ini were read from ("" = none read)
    QString settingsReadDir;
    QString positionsReadDir;

    // Receiver type that applied at the last Go: the hub and the tools act on
    // the open panel's receiver until the next Go.
    int16_t goRxtype = -1;

    // Window positions in twips, by slot
    std::array<int32_t, kPositionSlots + 1> formleft{};
    std::array<int32_t, kPositionSlots + 1> formtop{};

    // Clock texts
    QString lttext, utctext, utcstamp;

    // Start-up tables
    std::array<QString, 9> targetareas;
    std::array<QString, 19> freqsteps;
    std::array<int16_t, 4> stepdefaults{};
    PerFileKind<QString> filesubdir, fileprefix, filepattern, filedefault;
    PerFileKind<QString> filedirs, filenames;

    // Receiver tables
    std::array<QString, 11> attnames, agcnames, modenames, yesno, nbnames;
    QVector<QString> bwnames;      // sized by the panel before its Init
    std::array<QString, 86> pbstext;

    // Receiver shared state
    int16_t jrcbusy = 0;
    int16_t jrclock = 0;
    int16_t panellock = 0;
    QString rxstatustext;
    QString memrecord;
    double rxfreqnow = 0;
    float sunits = 0;
    int16_t ar7030fw = 0;
    bool last20record = true;
    bool dialtrack = false;
    bool delayflag = false;

    // RX-320 state, written only by its driver
    double rx320freq = 0;
    int16_t rx320filter = 0, rx320pbs = 0, rx320agc = 0, rx320bfo = 0, rx320mode = 0,
            rx320volume = 0, rx320linelevel = 0;
    // The RX-320 panel's mute: kept while the program runs, across panel sessions.
    int16_t rx320mutestate = 0, rx320mutevolume = 0, rx320muteline = 0;

    // The tracking window holds a station database (its window being loaded
    // is the registry's to say, `Windows::loaded`).
    bool trackdbloaded = false;
};

extern ProgramState G;

// Puts every program-wide variable back to its start-up value.
void resetProgramState();

} // namespace tav
