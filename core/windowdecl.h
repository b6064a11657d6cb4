#pragma once
// Every window of the program, declared once: its name (the object name and
// what tests find it by), its position slot (its line in "formpositions.ini";
// 0 keeps none), its role, whether a main-menu entry opens it and its section
// of the help's file page (F1; empty for none). The registry, the unload
// order of the tools, the windows' constructors and the help key all come
// from this list, so a window is added in one place. Whether a window is
// loaded is the registry's to say (`Windows::loaded`).
// Tools are listed in the order UnloadTools closes them.

#include "core/globals.h"

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

namespace tav {

// Tool: closed by UnloadTools (in list order). Panel: a receiver panel.
// Hub: the welcome window.
enum class WindowRole { Tool, Panel, Hub };

//  name              slot role   main-menu entry, help section
#define TAV_WINDOWS(X)                                                       \
    X(frmAbout,         2,   Tool,  true,  "")                              \
    X(frmBdxc,          4,   Tool,  true,  "bdxc")                          \
    X(frmConvertILG,    5,   Tool,  true,  "ilgconvert")                    \
    X(frmIlg2rx,        6,   Tool,  true,  "ilg")                           \
    X(frmILGfinddbf,    7,   Tool,  false, "ilgconvert")                    \
    X(frmIlgquery,      9,   Tool,  false, "ilg")                           \
    X(frmIlgqsort,      8,   Tool,  false, "ilg")                           \
    X(frmLoadfile,      11,  Tool,  false, "dialogs")                       \
    X(frmLast20,        10,  Tool,  true,  "last20")                        \
    X(frmLog,           12,  Tool,  true,  "log")                           \
    X(frmLogFormat,     13,  Tool,  false, "log")                           \
    X(frmLoginput,      14,  Tool,  false, "log")                           \
    X(frmLogsort,       15,  Tool,  false, "log")                           \
    X(frmMemcell,       16,  Tool,  false, "memories")                      \
    X(frmMemman,        17,  Tool,  true,  "memories")                      \
    X(frmOwn,           20,  Tool,  true,  "own")                           \
    X(frmPropagation,   21,  Tool,  true,  "propagation")                   \
    X(frmRxClock,       24,  Tool,  true,  "rxclock")                       \
    X(frmRxTimer,       25,  Tool,  true,  "timers")                        \
    X(frmSavefile,      26,  Tool,  false, "dialogs")                       \
    X(frmSetUp,         28,  Tool,  true,  "")                              \
    X(frmSmeter,        29,  Tool,  true,  "smeter")                        \
    X(frmTracking,      32,  Tool,  true,  "tracking")                      \
    X(frmRtty,          22,  Tool,  false, "")                              \
    X(frmScratchpad,    27,  Tool,  true,  "scratchpad")                    \
    X(frm320Files,      1,   Tool,  true,  "f320")                          \
    X(frmScanlist,      39,  Tool,  true,  "listscan")                      \
    X(frmUserdefs,      33,  Tool,  false, "")                              \
    X(frmUserdefs545,   41,  Tool,  false, "")                              \
    X(frmAdvancedDSP,   35,  Tool,  false, "")                              \
    X(frmConvertAero,   0,   Tool,  true,  "aeroconvert")                   \
    X(frmAero2rx,       36,  Tool,  true,  "aero")                          \
    X(frmAeroquery,     37,  Tool,  false, "aero")                          \
    X(frmScanpairs,     40,  Tool,  true,  "pairscan")                      \
    X(frmProp2prt2,     42,  Tool,  true,  "propprint")                     \
    X(frmScanband,      43,  Tool,  true,  "bandscan")                      \
    X(frmMarkfreqs,     44,  Tool,  true,  "markfreqs")                     \
    X(frmProphisto,     45,  Tool,  true,  "histogram")                     \
    X(frmWelcome,       34,  Hub,   false, "")                              \
    X(frmNoRx,          18,  Panel, false, "")                              \
    X(frmAR7030,        3,   Panel, false, "")                              \
    X(frmNRD535,        19,  Panel, false, "")                              \
    X(frmRX320,         23,  Panel, false, "")                              \
    X(frmNRD545,        38,  Panel, false, "")

enum class WindowId : int {
#define TAV_WINDOW_ID(name, slot, role, menu, help) name,
    TAV_WINDOWS(TAV_WINDOW_ID)
#undef TAV_WINDOW_ID
};

struct WindowDecl {
    WindowId id;
    const char *name;
    int slot;
    WindowRole role;
    bool inMainMenu;
    const char *helpSection;
};

inline constexpr std::array windowDecls = {
#define TAV_WINDOW_DECL(name, slot, role, menu, help) \
    WindowDecl{WindowId::name, #name, slot, WindowRole::role, menu, help},
    TAV_WINDOWS(TAV_WINDOW_DECL)
#undef TAV_WINDOW_DECL
};

constexpr const WindowDecl &windowDecl(WindowId id) { return windowDecls[std::size_t(id)]; }

// Every slot is a line of the positions file, which holds kPositionSlots.
constexpr bool slotsFitPositionsFile()
{
    for (const WindowDecl &d : windowDecls)
        if (d.slot < 0 || d.slot > kPositionSlots)
            return false;
    return true;
}
static_assert(slotsFitPositionsFile());
inline QString windowName(WindowId id) { return QLatin1String(windowDecl(id).name); }

// The panel that serves receiver type `rxtype` (0 none, 1 AR7030, 2 NRD-535,
// 3 RX-320, 4 NRD-545); none for any other value.
} // namespace tav
