#pragma once
// Every window of the program, declared once: its name (the object name and
// what tests find it by), its position slot (its line in "formpositions.ini";
// 0 keeps none), its role, whether a main-menu entry opens it, its section
// of the help's file page (F1; empty for none; a page of its own given as
// "page.html#section") and, for a tool, the fixed name
// its questions give it. The registry, the unload
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

//  name              slot role   main-menu entry, help section, name in questions
#define TAV_WINDOWS(X)                                                       \
    X(frmAbout,         2,   Tool,  true,  "", "About window")                       \
    X(frmBdxc,          4,   Tool,  true,  "bdxc", "Broadcast list window")          \
    X(frmConvertILG,    5,   Tool,  true,  "ilgconvert", "ILG conversion window")    \
    X(frmIlg2rx,        6,   Tool,  true,  "ilg", "ILG list window")                 \
    X(frmILGfinddbf,    7,   Tool,  false, "ilgconvert", "ILG table picker")         \
    X(frmIlgquery,      9,   Tool,  false, "ilg", "ILG query window")                \
    X(frmIlgqsort,      8,   Tool,  false, "ilg", "ILG sort window")                 \
    X(frmLoadfile,      11,  Tool,  false, "dialogs", "Load dialog")                 \
    X(frmLast20,        10,  Tool,  true,  "last20", "Last-20 window")               \
    X(frmLog,           12,  Tool,  true,  "log", "Logging window")                  \
    X(frmLogFormat,     13,  Tool,  false, "log", "Log column dialog")               \
    X(frmLoginput,      14,  Tool,  false, "log", "Log entry dialog")                \
    X(frmLogsort,       15,  Tool,  false, "log", "Log sort dialog")                 \
    X(frmMemcell,       16,  Tool,  false, "memories", "Memory cell editor")         \
    X(frmMemman,        17,  Tool,  true,  "memories", "Memory Management window")   \
    X(frmOwn,           20,  Tool,  true,  "own", "Own list window")                 \
    X(frmPropagation,   21,  Tool,  true,  "propagation", "Propagation window")      \
    X(frmRxClock,       24,  Tool,  true,  "rxclock", "Receiver clock window")       \
    X(frmRxTimer,       25,  Tool,  true,  "timers", "Timer Programming window")     \
    X(frmSavefile,      26,  Tool,  false, "dialogs", "Save dialog")                 \
    X(frmSetUp,         28,  Tool,  true,  "", "Set-up dialog")                      \
    X(frmSmeter,        29,  Tool,  true,  "smeter", "S-meter window")               \
    X(frmTracking,      32,  Tool,  true,  "tracking", "Tracking window")            \
    X(frmRtty,          22,  Tool,  false, "", "RTTY window")                        \
    X(frmScratchpad,    27,  Tool,  true,  "scratchpad", "Frequency Scratchpad")     \
    X(frm320Files,      1,   Tool,  true,  "f320", ".320 list window")               \
    X(frmScanlist,      39,  Tool,  true,  "listscan", "List Scan window")           \
    X(frmUserdefs,      33,  Tool,  false, "", "User settings dialog")               \
    X(frmUserdefs545,   41,  Tool,  false, "", "User settings dialog")               \
    X(frmAdvancedDSP,   35,  Tool,  false, "", "DSP dialog")                         \
    X(frmConvertAero,   0,   Tool,  true,  "aeroconvert", "Aero conversion window")  \
    X(frmAero2rx,       36,  Tool,  true,  "aero", "Aero list window")               \
    X(frmAeroquery,     37,  Tool,  false, "aero", "Aero query window")              \
    X(frmScanpairs,     40,  Tool,  true,  "pairscan", "Pair Scan window")           \
    X(frmProp2prt2,     42,  Tool,  true,  "propprint", "Propagation page window")   \
    X(frmScanband,      43,  Tool,  true,  "bandscan", "Band Scan window")           \
    X(frmMarkfreqs,     44,  Tool,  true,  "markfreqs", "Marked frequencies window") \
    X(frmProphisto,     45,  Tool,  true,  "histogram", "Histogram window")          \
    X(frmWelcome,       34,  Hub,   false, "", "")                                   \
    X(frmNoRx,          18,  Panel, false, "panels.html#norx", "")                   \
    X(frmAR7030,        3,   Panel, false, "", "")                                   \
    X(frmNRD535,        19,  Panel, false, "", "")                                   \
    X(frmRX320,         23,  Panel, false, "", "")                                   \
    X(frmNRD545,        38,  Panel, false, "", "")

enum class WindowId : int {
#define TAV_WINDOW_ID(name, slot, role, menu, help, title) name,
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
    // What a question about the window calls it ("the Logging window"): a
    // fixed name, for a caption may change while the window works.
    const char *title;
};

inline constexpr std::array windowDecls = {
#define TAV_WINDOW_DECL(name, slot, role, menu, help, title) \
    WindowDecl{WindowId::name, #name, slot, WindowRole::role, menu, help, title},
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

// A tool's question names it by its fixed name, never by a caption the
// window's work may have changed.
constexpr bool toolsHaveNames()
{
    for (const WindowDecl &d : windowDecls)
        if (d.role == WindowRole::Tool && !*d.title)
            return false;
    return true;
}
static_assert(toolsHaveNames());
inline QString windowName(WindowId id) { return QLatin1String(windowDecl(id).name); }

// The panel that serves receiver type `rxtype` (0 none, 1 AR7030, 2 NRD-535,
// 3 RX-320, 4 NRD-545); none for any other value.
} // namespace tav
