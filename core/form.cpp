#include "core/form.h"

#include "core/links.h"

#include "core/settings.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>

namespace tav {

namespace {

struct Entry {
    int slot = 0;
    bool ProgramState::*flag = nullptr;
    Windows::Factory factory;
    QPointer<TavForm> instance;
};

QHash<QString, Entry> &table()
{
    static QHash<QString, Entry> t = [] {
        QHash<QString, Entry> t;
        auto add = [&](const char *name, int slot, bool ProgramState::*flag) {
            t.insert(QLatin1String(name), Entry{slot, flag, {}, {}});
        };
        add("frm320Files", 1, &ProgramState::f320filesloaded);
        add("frmAbout", 2, &ProgramState::aboutloaded);
        add("frmAR7030", 3, &ProgramState::ar7030loaded);
        add("frmBdxc", 4, &ProgramState::bdxcloaded);
        add("frmConvertILG", 5, &ProgramState::convertilgloaded);
        add("frmIlg2rx", 6, &ProgramState::ilg2rxloaded);
        add("frmILGfinddbf", 7, &ProgramState::ilgfinddbfloaded);
        add("frmIlgqsort", 8, &ProgramState::ilgqsortloaded);
        add("frmIlgquery", 9, &ProgramState::ilgqueryloaded);
        add("frmLast20", 10, &ProgramState::last20loaded);
        add("frmLoadfile", 11, &ProgramState::loadfileloaded);
        add("frmLog", 12, &ProgramState::logloaded);
        add("frmLogFormat", 13, &ProgramState::logformatloaded);
        add("frmLoginput", 14, &ProgramState::loginputloaded);
        add("frmLogsort", 15, &ProgramState::logsortloaded);
        add("frmMemcell", 16, &ProgramState::memcellloaded);
        add("frmMemman", 17, &ProgramState::memmanloaded);
        add("frmNoRx", 18, &ProgramState::norxloaded);
        add("frmNRD535", 19, &ProgramState::nrd535loaded);
        add("frmOwn", 20, &ProgramState::ownloaded);
        add("frmPropagation", 21, &ProgramState::propagationloaded);
        add("frmRtty", 22, &ProgramState::rttyloaded);
        add("frmRX320", 23, &ProgramState::rx320loaded);
        add("frmRxClock", 24, &ProgramState::rxclockloaded);
        add("frmRxTimer", 25, &ProgramState::rxtimerloaded);
        add("frmSavefile", 26, &ProgramState::savefileloaded);
        add("frmScratchpad", 27, &ProgramState::scratchpadloaded);
        add("frmSetUp", 28, &ProgramState::setuploaded);
        add("frmSmeter", 29, &ProgramState::smeterloaded);
        add("frmTracking", 32, &ProgramState::trackingloaded);
        add("frmUserdefs", 33, &ProgramState::userdefsloaded);
        add("frmWelcome", 34, &ProgramState::welcomeloaded);
        add("frmAdvancedDSP", 35, &ProgramState::advanceddsploaded);
        add("frmAero2rx", 36, &ProgramState::aero2rxloaded);
        add("frmAeroquery", 37, &ProgramState::aeroqueryloaded);
        add("frmNRD545", 38, &ProgramState::nrd545loaded);
        add("frmScanlist", 39, &ProgramState::scanlistloaded);
        add("frmScanpairs", 40, &ProgramState::scanpairsloaded);
        add("frmUserdefs545", 41, &ProgramState::userdefs545loaded);
        add("frmProp2prt2", 42, &ProgramState::prop2prt2loaded);
        add("frmScanband", 43, &ProgramState::scanbandloaded);
        add("frmMarkfreqs", 44, &ProgramState::markfreqsloaded);
        add("frmProphisto", 45, &ProgramState::prophistoloaded);
        add("frmConvertAero", 0, &ProgramState::convertaeroloaded);
        return t;
    }();
    return t;
}

} // namespace

double twipsPerPixel()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

TavForm::TavForm(const QString &name, int slot, bool ProgramState::*flag, QWidget *parent)
    : QWidget(parent, Qt::Window), m_slot(slot), m_flag(flag)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

int TavForm::leftTwips() const { return int(x() * twipsPerPixel()); }
int TavForm::topTwips() const { return int(y() * twipsPerPixel()); }
int TavForm::widthTwips() const { return int(frameGeometry().width() * twipsPerPixel()); }
void TavForm::moveTwips(int left, int top) { move(int(left / twipsPerPixel()), int(top / twipsPerPixel())); }

void TavForm::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_unloadPending = false;
    if (m_slot > 0)
        moveTwips(G.formleft[m_slot], G.formtop[m_slot]);
    if (m_flag)
        G.*m_flag = true;
    Form_Load();
}

void TavForm::showModeless()
{
    load();
    if (!m_loaded)
        return; // the load gave up
    setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

void TavForm::showModal()
{
    load();
    if (!m_loaded)
        return;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    QPointer<TavForm> self(this);
    connect(this, &TavForm::unloaded, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
    if (self)
        setWindowModality(Qt::NonModal);
}

void TavForm::unload()
{
    if (!m_loaded)
        return;
    if (m_busy > 0) {
        m_unloadPending = true;
        hide();
        Form_UnloadRequested();
        return;
    }
    m_loaded = false;
    if (m_slot > 0)
        storePosition(m_slot, leftTwips(), topTwips(), widthTwips());
    Form_Unload();
    if (m_flag)
        G.*m_flag = false;
    hide();
    emit unloaded();
}

void TavForm::closeEvent(QCloseEvent *ev)
{
    ev->ignore();
    unload();
}

TavForm::Busy::Busy(TavForm *f) : m_form(f)
{
    if (m_form)
        ++m_form->m_busy;
}

TavForm::Busy::~Busy()
{
    if (!m_form)
        return;
    if (--m_form->m_busy == 0 && m_form->m_unloadPending) {
        m_form->m_unloadPending = false;
        m_form->unload();
    }
}

void Windows::registerFactory(const QString &name, Factory f)
{
    auto &t = table();
    auto it = t.find(name);
    if (it == t.end())
        it = t.insert(name, Entry{0, nullptr, {}, {}});
    it->factory = std::move(f);
}

bool Windows::available(const QString &name)
{
    auto &t = table();
    auto it = t.find(name);
    return it != t.end() && (it->factory || it->instance);
}

TavForm *Windows::get(const QString &name)
{
    auto &t = table();
    auto it = t.find(name);
    if (it == t.end())
        return nullptr;
    if (!it->instance && it->factory)
        it->instance = it->factory();
    return it->instance;
}

TavForm *Windows::existing(const QString &name)
{
    auto &t = table();
    auto it = t.find(name);
    return it == t.end() ? nullptr : it->instance.data();
}

int Windows::slotOf(const QString &name)
{
    auto it = table().find(name);
    return it == table().end() ? -1 : it->slot;
}

bool ProgramState::*Windows::flagOf(const QString &name)
{
    auto it = table().find(name);
    return it == table().end() ? nullptr : it->flag;
}

void Windows::destroyAll()
{
    // Windows deleted without their unload must not stay linked to the hub.
    links::clear();
    for (auto &e : table()) {
        if (e.instance) {
            delete e.instance.data();
            e.instance.clear();
        }
    }
}

const QStringList &unloadToolsOrder()
{
    static const QStringList order = {
        "frmAbout",      "frmBdxc",        "frmConvertILG",  "frmIlg2rx",      "frmILGfinddbf", "frmIlgquery",
        "frmIlgqsort",   "frmLoadfile",    "frmLast20",      "frmLog",         "frmLogFormat",  "frmLoginput",
        "frmLogsort",    "frmMemcell",     "frmMemman",      "frmOwn",         "frmPropagation", "frmRxClock",
        "frmRxTimer",    "frmSavefile",    "frmSetUp",       "frmSmeter",      "frmTracking",   "frmRtty",
        "frmScratchpad", "frm320Files",    "frmScanlist",    "frmUserdefs",    "frmUserdefs545", "frmAdvancedDSP",
        "frmConvertAero", "frmAero2rx",    "frmAeroquery",   "frmScanpairs",   "frmProp2prt2",  "frmScanband",
        "frmMarkfreqs",  "frmProphisto"};
    return order;
}

void UnloadTools()
{
    for (const QString &name : unloadToolsOrder()) {
        auto flag = Windows::flagOf(name);
        if (!flag || !(G.*flag))
            continue;
        if (TavForm *f = Windows::existing(name))
            f->unload();
    }
}

} // namespace tav
