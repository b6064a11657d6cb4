#include "panels/mainmenu.h"

#include "core/help.h"

#include "core/filekinds.h"
#include "core/form.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/launch.h"
#include "core/textfile.h"
#include "drivers/receiver.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <optional>
#include <vector>

namespace tav {

namespace {

enum class Act { Show, ShowModal, Load, Separator, Menu, PcClock, Help, Off };

struct Row {
    QString name;     // objectName of the menu or entry
    QString caption;
    Act act;
    std::optional<WindowId> window;   // the window an entry opens
    QKeySequence key;
};

// The whole menu below the Direct menu, for one panel. A Menu row starts a
// menu; the rows after it are its entries.
std::vector<Row> mainMenuTable(const QString &panel, bool norx)
{
    const bool rx320 = panel == windowName(WindowId::frmRX320);
    const bool nrd535 = panel == windowName(WindowId::frmNRD535);
    const bool ar7030 = panel == windowName(WindowId::frmAR7030);
    const RxModel *model = rxModelOfPanel(panel);
    // Without a receiver, or with one that keeps no time, there is no clock to set.
    const bool noClock = norx || (model && !model->hasClock);
    auto pick = [](bool cond, const char *a, const char *b) { return QLatin1String(cond ? a : b); };
    return {
        {"mnuDb2Rx", "Db2Rx", Act::Menu, {}, {}},
        {pick(norx, "mnuBdxc", "mnuBDXC"), "BDXC . . .", Act::Show, WindowId::frmBdxc, {}},
        {"mnuOwn", "Own . . .", Act::Show, WindowId::frmOwn, {}},
        {"mnu320Files", ".320 . . .", Act::Show, WindowId::frm320Files, {}},
        {"mnuIlg2rx", "ILG . . .", Act::Show, WindowId::frmIlg2rx, {}},
        {"mnuAero2rx", "Aero . . .", Act::Show, WindowId::frmAero2rx, {}},
        {pick(norx, "mnuLine3", "mnuLine21"), "-", Act::Separator, {}, {}},
        {norx ? "mnuConvertIlg1" : rx320 ? "mnuConvrtILG1" : "mnuConvertILG1", "Convert ILG . . .", Act::Show,
         WindowId::frmConvertILG, {}},
        {"mnuConvertaero2", pick(ar7030, "ConvertAero . . .", "Convert Aero . . ."), Act::Show, WindowId::frmConvertAero, {}},

        {"mnuRx2Db", "Rx2Db", Act::Menu, {}, {}},
        {"mnuLog", "Logging . . .", Act::Show, WindowId::frmLog, {}},
        {"mnuTracking", "Tracking . . .", Act::Show, WindowId::frmTracking, {}},
        {pick(norx, "mnuLine5", "mnuLine31"), "-", Act::Separator, {}, {}},
        {"mnuConvertILG2", "Convert ILG . . .", Act::Show, WindowId::frmConvertILG, {}},
        {"mnuConvertaero", pick(nrd535, "Convert Aero . . ", "Convert Aero . . ."), Act::Show, WindowId::frmConvertAero, {}},

        {"mnuSignalan", pick(norx, "SignalAn", "Signal An"), Act::Menu, {}, {}},
        // Without a receiver the S-meter window does not show itself.
        {"mnuSmeter", pick(norx, "S meter . . .", "S-meter . . ."), norx ? Act::Show : Act::Load, WindowId::frmSmeter, {}},

        {"mnuScan", "Scan", Act::Menu, {}, {}},
        {"mnuScanBand", "Freq Band . . .", Act::Load, WindowId::frmScanband, {}},
        {pick(norx, "mnuScanList", "mnuScanFreqList"), "Freq List . . .", Act::Load, WindowId::frmScanlist, {}},
        {"mnuScanFreqpairs", "Freq Pairs . . .", Act::Load, WindowId::frmScanpairs, {}},

        {"mnuPropagation", "Propagation", Act::Menu, {}, {}},
        {"mnuTimean", "Time Analysis", Act::Load, WindowId::frmPropagation, {}},
        {"mnuTimean2prt", pick(norx, "Time Analysys to Print", "Time Analysis to Print"), Act::Load, WindowId::frmProp2prt2,
         {}},
        {"mnuProphisto", "Time + Histogram", Act::Load, WindowId::frmProphisto, {}},

        {"mnuMem", "MemMan", Act::Menu, {}, {}},
        {"mnuMemman", "Memory Management . . .", Act::Show, WindowId::frmMemman, {}},

        {"mnuTimers", "Timers", Act::Menu, {}, {}},
        {"mnuPCclock", "Set PC Clock . . .", Act::PcClock, {}, {}},
        {"mnuRxClock", "Set RX Clock . . .", noClock ? Act::Off : Act::Show, WindowId::frmRxClock, {}},
        {"mnuRxTimer", pick(rx320, "Programming", "Programming . . ."), Act::Show, WindowId::frmRxTimer, {}},

        {"mnuHelp", "Help", Act::Menu, {}, {}},
        {pick(norx, "mnuHtmlhelp", "mnuHTMLhelp"), "HTML Help", Act::Help, {}, QKeySequence(Qt::Key_F1)},
        {"mnuAbout", "About . . .", Act::Show, WindowId::frmAbout, {}},
    };
}

// Keeps an entry disabled while its window is missing, whoever enables it.
void guardAvailability(QAction *a, WindowId window)
{
    a->setEnabled(menuWindowAvailable(window));
    QObject::connect(a, &QAction::changed, a, [a, window] {
        if (a->isEnabled() && !menuWindowAvailable(window))
            a->setEnabled(false);
    });
}

// The property naming the window an entry opens, so tools can switch the
// entries of a window off while they run.
const char *const kOpensWindow = "tavOpensWindow";

QAction *addOpenEntry(QMenu *menu, const QString &name, const QString &caption, WindowId window, MenuOpen how)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    a->setProperty(kOpensWindow, int(window));
    guardAvailability(a, window);
    QObject::connect(a, &QAction::triggered, a, [window, how] { openFromMenu(window, how); });
    return a;
}

} // namespace

bool menuWindowAvailable(WindowId window) { return Windows::available(window); }

void openFromMenu(WindowId window, MenuOpen how)
{
    if (!menuWindowAvailable(window))
        return;
    TavForm *f = Windows::get(window);
    if (!f)
        return;
    switch (how) {
    case MenuOpen::Show: f->showModeless(); break;
    case MenuOpen::ShowModal: f->showModal(); break;
    case MenuOpen::Load:
        if (!f->isLoadedForm())
            f->load();
        break;
    }
}

void setMenuEntries(QMenuBar *bar, const PanelEntries &entries, bool enabled)
{
    for (MainMenuId m : entries.menus) {
        const QString name = m == MainMenuId::Scan ? QStringLiteral("mnuScan") : QStringLiteral("mnuPropagation");
        if (auto *a = bar->findChild<QAction *>(name))
            a->setEnabled(enabled);
    }
    for (QAction *a : bar->findChildren<QAction *>()) {
        const QVariant w = a->property(kOpensWindow);
        if (w.isValid() && entries.windows.contains(WindowId(w.toInt())))
            a->setEnabled(enabled);
    }
}

QString helpFileName(bool receiverLess)
{
    return receiverLess ? helpSection(windowName(WindowId::frmNoRx)) : QStringLiteral("panels.html");
}

void exitFromPanel()
{
    // The tools' unload work is skipped, so nothing unsaved may be left in them.
    if (!askUnsavedTools())
        return;
    closeOpenFiles();
    // Hidden windows are not closed on the way out, so no unload runs.
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    frmWelcome::endProgram(0);
}

void addMainMenus(QMenuBar *bar, TavForm *panel, bool receiverLess)
{
    const QString panelName = panel ? panel->objectName() : QString();
    QMenu *menu = nullptr;
    for (const Row &r : mainMenuTable(panelName, receiverLess)) {
        switch (r.act) {
        case Act::Menu:
            menu = new QMenu(r.caption, bar);
            menu->setObjectName(r.name);
            menu->menuAction()->setObjectName(r.name);
            bar->addMenu(menu);
            break;
        case Act::Separator: addMenuSeparator(menu, r.name); break;
        case Act::Show: addOpenEntry(menu, r.name, r.caption, *r.window, MenuOpen::Show); break;
        case Act::ShowModal: addOpenEntry(menu, r.name, r.caption, *r.window, MenuOpen::ShowModal); break;
        case Act::Load: addOpenEntry(menu, r.name, r.caption, *r.window, MenuOpen::Load); break;
        case Act::Off: {
            QAction *a = menu->addAction(r.caption);
            a->setObjectName(r.name);
            a->setEnabled(false);
            // Switched off for good: nothing a tool does turns it on.
            QObject::connect(a, &QAction::changed, a, [a] {
                if (a->isEnabled())
                    a->setEnabled(false);
            });
            break;
        }
        case Act::PcClock: {
            QAction *a = menu->addAction(r.caption);
            a->setObjectName(r.name);
            QObject::connect(a, &QAction::triggered, a, [] { launchDateTimeSettings(); });
            break;
        }
        case Act::Help: {
            QAction *a = menu->addAction(r.caption);
            a->setObjectName(r.name);
            a->setShortcut(r.key);
            const QString page = helpFileName(receiverLess);
            QObject::connect(a, &QAction::triggered, a, [page] { openHelp(page); });
            break;
        }
        }
    }
}

QMenu *addDirectMenu(QMenuBar *bar)
{
    auto *menu = new QMenu(QStringLiteral("Direct"), bar);
    menu->setObjectName(QStringLiteral("mnuDirect"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuDirect"));
    bar->addMenu(menu);
    return menu;
}

QAction *addMenuSeparator(QMenu *menu, const QString &name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(name);
    return a;
}

QAction *addDirectEntry(QMenu *direct, TavForm *panel, DirectEntry entry)
{
    const QString p = panel ? panel->objectName() : QString();
    const bool norx = p == windowName(WindowId::frmNoRx);
    switch (entry) {
    case DirectEntry::Setup:
        return addOpenEntry(direct, QStringLiteral("mnuSetup"), QStringLiteral("Set-up . . ."),
                            WindowId::frmSetUp, MenuOpen::Show);
    case DirectEntry::Last20:
        return addOpenEntry(direct, QStringLiteral("mnuLast20"),
                            norx ? QStringLiteral("Last 20 freqs . . .") : QStringLiteral("Last 20 Freqs . . ."),
                            WindowId::frmLast20, MenuOpen::Show);
    case DirectEntry::MarkFreqs: {
        const QString name = p == windowName(WindowId::frmAR7030) ? QStringLiteral("mnuMaqrkfreqs")
                                                            : QStringLiteral("mnuMarkfreqs");
        const QString caption = p == windowName(WindowId::frmRX320)    ? QStringLiteral("Mark freqs . . . ")
                                : p == windowName(WindowId::frmNRD545) ? QStringLiteral("Mark Freqs . . . ")
                                                                  : QStringLiteral("Mark Freqs . . .");
        return addOpenEntry(direct, name, caption, WindowId::frmMarkfreqs, MenuOpen::Show);
    }
    case DirectEntry::Scratchpad: {
        const QString name = p == windowName(WindowId::frmRX320) ? QStringLiteral("mnuSratchpad")
                                                           : QStringLiteral("mnuScratchpad");
        const QString caption = (norx || p == windowName(WindowId::frmNRD545)) ? QStringLiteral("Freq Sratchpad . . .")
                                                                          : QStringLiteral("Freq Scratchpad . . .");
        return addOpenEntry(direct, name, caption, WindowId::frmScratchpad, MenuOpen::Show);
    }
    case DirectEntry::Close: {
        QAction *a = direct->addAction(QStringLiteral("Close"));
        a->setObjectName(QStringLiteral("mnuClose"));
        QPointer<TavForm> form(panel);
        QObject::connect(a, &QAction::triggered, a, [form] {
            if (form)
                form->closeAsked();
        });
        return a;
    }
    case DirectEntry::Exit: {
        QAction *a = direct->addAction(QStringLiteral("Exit"));
        a->setObjectName(QStringLiteral("mnuExit"));
        QObject::connect(a, &QAction::triggered, a, [] { exitFromPanel(); });
        return a;
    }
    }
    return nullptr;
}

} // namespace tav
