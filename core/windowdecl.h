#pragma once
// Every window of the program, declared once: its name (the object name, the
// key of its stored position and what tests find it by), its position slot
// (0 keeps none), its loaded flag, its role and whether a main-menu entry
// opens it. The registry, the unload order of the tools and the windows'
// constructors all come from this list, so a window is added in one place.
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

//        name             slot  loaded flag          role   main-menu entry
#define TAV_WINDOWS(X)                                                       \
    X(frmAbout,          2,  aboutloaded,          Tool,  true)              \
    X(frmBdxc,           4,  bdxcloaded,           Tool,  true)              \
    X(frmConvertILG,     5,  convertilgloaded,     Tool,  true)              \
    X(frmIlg2rx,         6,  ilg2rxloaded,         Tool,  true)              \
    X(frmILGfinddbf,     7,  ilgfinddbfloaded,     Tool,  false)             \
    X(frmIlgquery,       9,  ilgqueryloaded,       Tool,  false)             \
    X(frmIlgqsort,       8,  ilgqsortloaded,       Tool,  false)             \
    X(frmLoadfile,       11, loadfileloaded,       Tool,  false)             \
    X(frmLast20,         10, last20loaded,         Tool,  true)              \
    X(frmLog,            12, logloaded,            Tool,  true)              \
    X(frmLogFormat,      13, logformatloaded,      Tool,  false)             \
    X(frmLoginput,       14, loginputloaded,       Tool,  false)             \
    X(frmLogsort,        15, logsortloaded,        Tool,  false)             \
    X(frmMemcell,        16, memcellloaded,        Tool,  false)             \
    X(frmMemman,         17, memmanloaded,         Tool,  true)              \
    X(frmOwn,            20, ownloaded,            Tool,  true)              \
    X(frmPropagation,    21, propagationloaded,    Tool,  true)              \
    X(frmRxClock,        24, rxclockloaded,        Tool,  true)              \
    X(frmRxTimer,        25, rxtimerloaded,        Tool,  true)              \
    X(frmSavefile,       26, savefileloaded,       Tool,  false)             \
    X(frmSetUp,          28, setuploaded,          Tool,  true)              \
    X(frmSmeter,         29, smeterloaded,         Tool,  true)              \
    X(frmTracking,       32, trackingloaded,       Tool,  true)              \
    X(frmRtty,           22, rttyloaded,           Tool,  false)             \
    X(frmScratchpad,     27, scratchpadloaded,     Tool,  true)              \
    X(frm320Files,       1,  f320filesloaded,      Tool,  true)              \
    X(frmScanlist,       39, scanlistloaded,       Tool,  true)              \
    X(frmUserdefs,       33, userdefsloaded,       Tool,  false)             \
    X(frmUserdefs545,    41, userdefs545loaded,    Tool,  false)             \
    X(frmAdvancedDSP,    35, advanceddsploaded,    Tool,  false)             \
    X(frmConvertAero,    0,  convertaeroloaded,    Tool,  true)              \
    X(frmAero2rx,        36, aero2rxloaded,        Tool,  true)              \
    X(frmAeroquery,      37, aeroqueryloaded,      Tool,  false)             \
    X(frmScanpairs,      40, scanpairsloaded,      Tool,  true)              \
    X(frmProp2prt2,      42, prop2prt2loaded,      Tool,  true)              \
    X(frmScanband,       43, scanbandloaded,       Tool,  true)              \
    X(frmMarkfreqs,      44, markfreqsloaded,      Tool,  true)              \
    X(frmProphisto,      45, prophistoloaded,      Tool,  true)              \
    X(frmWelcome,        34, welcomeloaded,        Hub,   false)             \
    X(frmNoRx,           18, norxloaded,           Panel, false)             \
    X(frmAR7030,         3,  ar7030loaded,         Panel, false)             \
    X(frmNRD535,         19, nrd535loaded,         Panel, false)             \
    X(frmRX320,          23, rx320loaded,          Panel, false)             \
    X(frmNRD545,         38, nrd545loaded,         Panel, false)

enum class WindowId : int {
#define TAV_WINDOW_ID(name, slot, flag, role, menu) name,
    TAV_WINDOWS(TAV_WINDOW_ID)
#undef TAV_WINDOW_ID
};

struct WindowDecl {
    WindowId id;
    const char *name;
    int slot;
    bool ProgramState::*flag;
    WindowRole role;
    bool inMainMenu;
};

inline constexpr std::array windowDecls = {
#define TAV_WINDOW_DECL(name, slot, flag, role, menu) \
    WindowDecl{WindowId::name, #name, slot, &ProgramState::flag, WindowRole::role, menu},
    TAV_WINDOWS(TAV_WINDOW_DECL)
#undef TAV_WINDOW_DECL
};

constexpr const WindowDecl &windowDecl(WindowId id) { return windowDecls[std::size_t(id)]; }
inline QString windowName(WindowId id) { return QLatin1String(windowDecl(id).name); }

// The panel that serves receiver type `rxtype` (0 none, 1 AR7030, 2 NRD-535,
// 3 RX-320, 4 NRD-545); none for any other value.
} // namespace tav
