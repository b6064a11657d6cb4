#pragma once
// The menu bar every panel carries: the panel's own Direct menu first, then
// Db2Rx, Rx2Db, Signal An, Scan, Propagation, MemMan, Timers and Help, built
// from one table. Entries whose window is not part of this build stay
// disabled, even when a tool enables them.

#include "core/windowdecl.h"
#include "hub/hub.h"

#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QMenuBar;

namespace tav {

class TavForm;

// Adds the menus after the panel's Direct menu. The panel's window name
// (objectName) picks its captions, entry names and help file; `receiverLess`
// gives the form that suits no receiver.
void addMainMenus(QMenuBar *bar, TavForm *panel, bool receiverLess);

// The Direct menu ("Direct", named mnuDirect) for the panel to fill.
QMenu *addDirectMenu(QMenuBar *bar);

// The entries every panel's Direct menu shares; names and captions follow the
// panel (e.g. mnuMaqrkfreqs on frmAR7030, mnuSratchpad on frmRX320).
enum class DirectEntry { Setup, Last20, MarkFreqs, Scratchpad, Close, Exit };
QAction *addDirectEntry(QMenu *direct, TavForm *panel, DirectEntry entry);
// A separator line carrying a name, as every menu line has one.
QAction *addMenuSeparator(QMenu *menu, const QString &name);

// Opens a window as a menu entry does: shown modeless (an open one comes
// forward), shown modal, or only loaded (it shows itself; an open one is left
// alone). Does nothing for a window that is not built.
enum class MenuOpen { Show, ShowModal, Load };
void openFromMenu(WindowId window, MenuOpen how);

// Whether a menu entry for `window` can work in this build.
bool menuWindowAvailable(WindowId window);

// Switches a panel menu bar's tool entries (see PanelEntries): the entries
// that open the given windows, and whole menus.
void setMenuEntries(QMenuBar *bar, const PanelEntries &entries, bool enabled);

// A panel's Exit: closes every open file and ends the program at once,
// without any window's unload work (no positions, no receiver state saved).
void exitFromPanel();

// The help page a panel opens ("index.html" for the receiver-less one).
QString helpFileName(bool receiverLess);

} // namespace tav
