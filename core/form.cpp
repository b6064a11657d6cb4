#include "core/form.h"

#include "core/links.h"

#include "core/settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMetaObject>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
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

// Rounded both ways, so twips -> pixels -> twips gives back the same pixels.
int TavForm::leftTwips() const
{
    const QPoint p = m_wantFrame && !isVisible() ? *m_wantFrame : frameGeometry().topLeft();
    return int(std::lround(p.x() * twipsPerPixel()));
}
int TavForm::topTwips() const
{
    const QPoint p = m_wantFrame && !isVisible() ? *m_wantFrame : frameGeometry().topLeft();
    return int(std::lround(p.y() * twipsPerPixel()));
}
int TavForm::widthTwips() const { return int(std::lround(frameGeometry().width() * twipsPerPixel())); }

QPoint TavForm::framePlace(int leftTwips, int topTwips, const QSize &frameSize)
{
    QPoint p(int(std::lround(leftTwips / twipsPerPixel())), int(std::lround(topTwips / twipsPerPixel())));
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return p;
    // The title bar: the frame's top strip. It must lie on a screen with
    // enough of it to grab (the store rule keeps 1500 twips at the left).
    const int grab = std::max(1, int(1500 / twipsPerPixel()));
    const int barHeight = 24;
    auto reachable = [&](const QRect &avail) {
        const QRect bar(p.x(), p.y(), std::max(frameSize.width(), 1), barHeight);
        const QRect on = bar.intersected(avail);
        return p.y() >= avail.top() && on.height() == barHeight && on.width() >= std::min(grab, bar.width());
    };
    for (QScreen *sc : screens)
        if (reachable(sc->availableGeometry()))
            return p;
    // Off every screen: onto the nearest one, as little moved as can be.
    QScreen *best = QGuiApplication::screenAt(p);
    if (!best) {
        qint64 bestDist = -1;
        for (QScreen *sc : screens) {
            const QRect a = sc->availableGeometry();
            const qint64 dx = p.x() < a.left() ? a.left() - p.x() : (p.x() > a.right() ? p.x() - a.right() : 0);
            const qint64 dy = p.y() < a.top() ? a.top() - p.y() : (p.y() > a.bottom() ? p.y() - a.bottom() : 0);
            if (bestDist < 0 || dx * dx + dy * dy < bestDist) {
                bestDist = dx * dx + dy * dy;
                best = sc;
            }
        }
    }
    // The whole window is brought onto that screen when it fits.
    const QRect a = best->availableGeometry();
    p.setX(std::clamp(p.x(), a.left(), std::max(a.left(), a.right() + 1 - frameSize.width())));
    p.setY(std::clamp(p.y(), a.top(), std::max(a.top(), a.bottom() + 1 - frameSize.height())));
    return p;
}

namespace {
// How far the window system's frame stands out of the client area (learned
// from the first framed window), so that later windows are placed right at once.
std::optional<QPoint> s_frameOffset;
} // namespace

void TavForm::moveTwips(int left, int top)
{
    m_wantFrame = framePlace(left, top, frameGeometry().size());
    m_placeTries = 0;
    if (isVisible() && frameGeometry() != geometry()) {
        move(*m_wantFrame); // framed: Qt places the frame itself
        m_clientAsked = geometry().topLeft();
        return;
    }
    // Not framed yet: the window system puts the client where it is asked.
    move(*m_wantFrame - s_frameOffset.value_or(QPoint()));
    m_clientAsked = geometry().topLeft();
}

// The frame is known only some time after the window is shown; until then
// its place is checked and, once, put right, so that the frame (which the
// store reads) stands where it was asked to.
void TavForm::placeFrame()
{
    if (!m_wantFrame || !isVisible()) {
        m_placeTimer.stop();
        return;
    }
    const QPoint offset = frameGeometry().topLeft() - geometry().topLeft();
    const bool framed = offset != QPoint();
    if (!framed) {
        if (m_placeClock.elapsed() > 1500) { // no frame comes (no window manager)
            m_wantFrame.reset();
            m_placeTimer.stop();
        }
        return;
    }
    s_frameOffset = offset;
    if (frameGeometry().topLeft() == *m_wantFrame || m_placeTries >= 3 ||
        (m_placeTries > 0 && geometry().topLeft() != m_clientAsked)) {
        m_wantFrame.reset();
        m_placeTimer.stop();
        return;
    }
    if (m_placeTries == 0 && geometry().topLeft() != m_clientAsked) { // moved by the user meanwhile
        m_wantFrame.reset();
        m_placeTimer.stop();
        return;
    }
    ++m_placeTries;
    move(*m_wantFrame);
    m_clientAsked = geometry().topLeft();
}

namespace {
const QStringList &panelWindows()
{
    static const QStringList names = {"frmNoRx", "frmAR7030", "frmNRD535", "frmRX320", "frmNRD545"};
    return names;
}
} // namespace

void TavForm::placeAtLoad()
{
    if (m_slot <= 0)
        return;
    // A slot never stored holds 0,0: the screen's corner, where the panel
    // itself usually stands.
    const bool stored = G.formleft[m_slot] != 0 || G.formtop[m_slot] != 0;
    if (stored || !placeBesidePanel())
        moveTwips(G.formleft[m_slot], G.formtop[m_slot]);
}

bool TavForm::placeBesidePanel()
{
    if (objectName() == QLatin1String("frmWelcome") || panelWindows().contains(objectName()))
        return false;
    TavForm *panel = nullptr;
    for (const QString &name : panelWindows())
        if (TavForm *p = Windows::existing(name); p && p != this && p->isVisible()) {
            panel = p;
            break;
        }
    if (!panel)
        return false;
    const QRect pf = panel->frameGeometry();
    const QScreen *sc = panel->screen() ? panel->screen() : QGuiApplication::primaryScreen();
    if (!sc)
        return false;
    const QRect avail = sc->availableGeometry();
    const QSize mine = testAttribute(Qt::WA_Resized) ? frameGeometry().size() : sizeHint().expandedTo(minimumSize());
    // Right of the panel, else below it, else left of it; the first that fits
    // on the panel's screen. None fits: right of it, as far as the screen allows.
    const QPoint tries[] = {QPoint(pf.right() + 1, pf.top()), QPoint(pf.left(), pf.bottom() + 1),
                            QPoint(pf.left() - mine.width(), pf.top())};
    QPoint at(std::min(pf.right() + 1, std::max(avail.left(), avail.right() + 1 - mine.width())), pf.top());
    for (const QPoint &p : tries)
        if (avail.contains(QRect(p, mine))) {
            at = p;
            break;
        }
    const double tpp = twipsPerPixel();
    moveTwips(int(std::lround(at.x() * tpp)), int(std::lround(at.y() * tpp)));
    return true;
}

bool TavForm::event(QEvent *ev)
{
    const bool r = QWidget::event(ev);
    if (ev->type() == QEvent::Show && m_wantFrame) {
        m_placeClock.start();
        if (!m_placeTimer.isActive()) {
            m_placeTimer.setInterval(30);
            connect(&m_placeTimer, &QTimer::timeout, this, &TavForm::placeFrame, Qt::UniqueConnection);
            m_placeTimer.start();
        }
    }
    return r;
}

// ---- the designed state ----

struct TavForm::Design {
    QPointer<QObject> obj;
    bool disabled = false, hidden = false, checked = false;
    QString text;
    bool ownPalette = false, autoFill = false;
    QPalette palette;
    QString styleSheet;
};

void TavForm::noteDesign(QObject *root)
{
    auto note = [&](QObject *o) {
        for (const auto &d : m_design)
            if (d->obj == o)
                return;
        auto d = std::make_shared<Design>();
        d->obj = o;
        if (auto *a = qobject_cast<QAction *>(o)) {
            d->disabled = !a->isEnabled();
            d->hidden = !a->isVisible();
            d->text = a->text();
            d->checked = a->isChecked();
        } else if (auto *w = qobject_cast<QWidget *>(o)) {
            d->disabled = w->testAttribute(Qt::WA_ForceDisabled);
            d->hidden = w->isHidden();
            if (auto *l = qobject_cast<QLabel *>(w))
                d->text = l->text();
            else if (auto *b = qobject_cast<QAbstractButton *>(w))
                d->text = b->text();
            else if (auto *g = qobject_cast<QGroupBox *>(w))
                d->text = g->title();
            d->ownPalette = w->testAttribute(Qt::WA_SetPalette);
            d->palette = w->palette();
            d->autoFill = w->autoFillBackground();
            d->styleSheet = w->styleSheet();
        } else {
            return;
        }
        m_design << d;
    };
    if (root != this)
        note(root);
    for (QObject *o : root->findChildren<QObject *>())
        note(o);
}

void TavForm::restoreDesign()
{
    for (const auto &d : m_design) {
        if (!d->obj)
            continue;
        if (auto *a = qobject_cast<QAction *>(d->obj.data())) {
            a->setEnabled(!d->disabled);
            a->setVisible(!d->hidden);
            a->setText(d->text);
            if (a->isCheckable() && a->isChecked() != d->checked) {
                const QSignalBlocker block(a);
                a->setChecked(d->checked);
            }
        } else if (auto *w = qobject_cast<QWidget *>(d->obj.data())) {
            w->setEnabled(!d->disabled);
            w->setHidden(d->hidden);
            if (auto *l = qobject_cast<QLabel *>(w))
                l->setText(d->text);
            else if (auto *b = qobject_cast<QAbstractButton *>(w))
                b->setText(d->text);
            else if (auto *g = qobject_cast<QGroupBox *>(w))
                g->setTitle(d->text);
            if (w->styleSheet() != d->styleSheet)
                w->setStyleSheet(d->styleSheet);
            if (d->ownPalette || w->testAttribute(Qt::WA_SetPalette))
                w->setPalette(d->ownPalette ? d->palette : QPalette());
            w->setAutoFillBackground(d->autoFill);
        }
    }
}

void TavForm::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_unloadPending = false;
    if (m_restoresDesign) {
        if (!m_designNoted)
            noteDesign(this);
        else
            restoreDesign();
        m_designNoted = true;
    }
    placeAtLoad();
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
    m_wantFrame.reset();
    m_placeTimer.stop();
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
