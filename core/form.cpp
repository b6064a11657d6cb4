#include "core/form.h"

#include "core/links.h"

#include "core/settings.h"
#include "core/ui.h"

#include "core/canvas.h"
#include <QLayout>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QAbstractSlider>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>
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
#include <QRegion>
#include <QScreen>
#include <QWindow>

namespace tav {

namespace {

struct Entry {
    Windows::Factory factory;
    QPointer<TavForm> instance;
};

std::array<Entry, windowDecls.size()> &table()
{
    static std::array<Entry, windowDecls.size()> t;
    return t;
}

Entry &entry(WindowId id) { return table()[std::size_t(id)]; }

} // namespace

double twipsPerPixel()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

TavForm::TavForm(WindowId id, QWidget *parent)
    : QWidget(parent, Qt::Window), m_id(id), m_slot(windowDecl(id).slot), m_role(windowDecl(id).role)
{
    setObjectName(windowName(id));
    setAttribute(Qt::WA_DeleteOnClose, false);
}

namespace {
// The frame the window system last reported around a window: until it has
// reported one, nothing is known (there may be no frame at all).
std::optional<QMargins> s_frameMargins;
} // namespace

QMargins frameMarginsOf(const QWidget *w)
{
    // A frame is only reported while the window is shown; hidden, the
    // window system may report none although it frames the window when shown.
    if (w->isVisible())
        if (QWindow *h = w->windowHandle(); h && h->handle()) {
            const QMargins m = h->frameMargins();
            if (!m.isNull()) {
                s_frameMargins = m;
                return m;
            }
        }
    return s_frameMargins.value_or(QMargins());
}

QPoint placeFrameAt(QWidget *w, QPoint frame)
{
    if (!w->testAttribute(Qt::WA_WState_Created) && !s_frameMargins) {
        // Not yet made and no frame known: made with its place including the
        // frame, the window system puts the frame's corner there.
        w->move(frame);
        return w->geometry().topLeft();
    }
    // The client area, placed exactly; setting it must not count as the
    // window's code sizing the window (a window never sized takes its
    // layout's size when shown).
    const QMargins m = frameMarginsOf(w);
    const bool resized = w->testAttribute(Qt::WA_Resized);
    w->setGeometry(QRect(frame + QPoint(m.left(), m.top()), w->size()));
    w->setAttribute(Qt::WA_Resized, resized);
    return w->geometry().topLeft();
}

QPoint placeBeside(const QRect &area, const std::optional<QRect> &panel, const QSize &size, const QList<QRect> &taken)
{
    if (!panel)
        return area.topLeft();
    const QRect pf = *panel;
    // Within the area along one axis, as near `want` as can be.
    auto fitX = [&](int want) { return std::clamp(want, area.left(), std::max(area.left(), area.right() + 1 - size.width())); };
    auto fitY = [&](int want) { return std::clamp(want, area.top(), std::max(area.top(), area.bottom() + 1 - size.height())); };
    auto free = [&](const QPoint &p) {
        const QRect r(p, size);
        if (!area.contains(r) || r.intersects(pf))
            return false;
        for (const QRect &t : taken)
            if (r.intersects(t))
                return false;
        return true;
    };
    // Beside the panel first, then beside the windows already put there, so
    // windows opened one after another do not hide each other. Above comes
    // last: a panel standing low leaves its room there.
    QList<QRect> anchors{pf};
    anchors += taken;
    for (const QRect &a : anchors) {
        const QPoint tries[] = {QPoint(a.right() + 1, fitY(a.top())), QPoint(fitX(a.left()), a.bottom() + 1),
                                QPoint(a.left() - size.width(), fitY(a.top())),
                                QPoint(fitX(a.left()), a.top() - size.height())};
        for (const QPoint &p : tries)
            if (free(p))
                return p;
    }
    // No free place: over the panel's lower right, where it hides the least
    // of the dial, each window a step down and left of one already there.
    QPoint p(fitX(pf.right() + 1), fitY(pf.bottom() + 1));
    for (int step = 0; step < 16; ++step) {
        bool onOne = false;
        for (const QRect &t : taken)
            onOne = onOne || t.topLeft() == p;
        if (!onOne)
            break;
        p = QPoint(fitX(p.x() - 32), fitY(p.y() - 32));
    }
    return p;
}

QList<QRect> shownToolFrames(const QWidget *except)
{
    QList<QRect> frames;
    for (const WindowDecl &d : windowDecls)
        if (TavForm *w = Windows::existing(d.id); d.role == WindowRole::Tool && w && w != except && w->isVisible())
            frames << w->frameRect();
    return frames;
}

std::optional<QRect> shownPanelFrame()
{
    for (const WindowDecl &d : windowDecls)
        if (TavForm *p = Windows::existing(d.id); d.role == WindowRole::Panel && p && p->isVisible())
            return p->frameRect();
    return std::nullopt;
}

QPoint TavForm::framePosition() const
{
    const QPoint client = geometry().topLeft();
    if (m_placed && client == m_clientAsked)
        return *m_placed;
    const QMargins m = frameMarginsOf(this);
    return client - QPoint(m.left(), m.top());
}

QRect TavForm::frameRect() const { return QRect(framePosition(), size().grownBy(frameMarginsOf(this))); }

// Rounded both ways, so twips -> pixels -> twips gives back the same pixels.
int TavForm::leftTwips() const { return int(std::lround(framePosition().x() * twipsPerPixel())); }
int TavForm::topTwips() const { return int(std::lround(framePosition().y() * twipsPerPixel())); }
int TavForm::widthTwips() const { return int(std::lround(frameRect().width() * twipsPerPixel())); }

void TavForm::fitLayout()
{
    // The layout's limits first (its minimum may have grown since the
    // window's controls changed), then the size it asks for.
    ensurePolished();
    if (layout())
        layout()->activate();
    adjustSize();
}

QSize TavForm::frameSizeToShow()
{
    if (!isVisible() && !testAttribute(Qt::WA_Resized)) {
        // What showing does first, done now so that the place fits the size.
        fitLayout();
        setAttribute(Qt::WA_Resized, false);
    }
    return size().grownBy(frameMarginsOf(this));
}

namespace {
// The screen a frame belongs to: the one holding most of it, else the nearest.
QRect screenAreaFor(const QRect &frame)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QRect best;
    qint64 bestCover = 0, bestDist = -1;
    for (QScreen *sc : screens) {
        const QRect a = sc->availableGeometry();
        const QRect on = a.intersected(frame);
        const qint64 cover = on.isEmpty() ? 0 : qint64(on.width()) * on.height();
        if (cover > bestCover) {
            bestCover = cover;
            best = a;
        }
    }
    if (bestCover > 0)
        return best;
    const QPoint p = frame.topLeft();
    for (QScreen *sc : screens) {
        const QRect a = sc->availableGeometry();
        const qint64 dx = p.x() < a.left() ? a.left() - p.x() : (p.x() > a.right() ? p.x() - a.right() : 0);
        const qint64 dy = p.y() < a.top() ? a.top() - p.y() : (p.y() > a.bottom() ? p.y() - a.bottom() : 0);
        if (bestDist < 0 || dx * dx + dy * dy < bestDist) {
            bestDist = dx * dx + dy * dy;
            best = a;
        }
    }
    return best;
}
} // namespace

QPoint onScreen(const QRect &frame)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    // Screens side by side make one desktop: a frame across two of them is
    // wholly on the screen, one reaching past their outer edges is not.
    QRegion off(frame);
    for (QScreen *sc : screens)
        off -= sc->availableGeometry();
    if (off.isEmpty() || screens.isEmpty())
        return frame.topLeft();
    // Moved as little as can be: the whole frame onto its screen, or, when
    // it is larger than the screen, its top left (the title bar) on it.
    return fitInto(screenAreaFor(frame), frame);
}

QPoint fitInto(const QRect &a, const QRect &frame)
{
    return QPoint(std::clamp(frame.left(), a.left(), std::max(a.left(), a.right() + 1 - frame.width())),
                  std::clamp(frame.top(), a.top(), std::max(a.top(), a.bottom() + 1 - frame.height())));
}

QPoint TavForm::framePlace(int leftTwips, int topTwips, const QSize &frameSize)
{
    const QPoint p(int(std::lround(leftTwips / twipsPerPixel())), int(std::lround(topTwips / twipsPerPixel())));
    return onScreen(QRect(p, frameSize));
}

void TavForm::moveTwips(int left, int top)
{
    const QPoint frame = framePlace(left, top, frameSizeToShow());
    m_placed = frame;
    m_placedOn.reset();
    m_clientAsked = placeFrameAt(this, frame);
}

namespace {
bool isPanelOrHub(const QString &name)
{
    for (const WindowDecl &d : windowDecls)
        if (d.role != WindowRole::Tool && name == QLatin1String(d.name))
            return true;
    return false;
}
} // namespace

void TavForm::placeAtLoad()
{
    // Placed now, so that the window's load finds it where it will be, and
    // again as it is first shown: by then its load has given it its size, and
    // a panel it is to stand beside may have come up (a window loaded hidden
    // with the panel is shown later from its menu).
    m_placeAtShow = true;
    placeAgain();
}

void TavForm::fitScreen(const QPoint &near)
{
    // A window larger than the screen it is to stand on is made as large as
    // that screen, so that all of it can be reached; windows that large
    // scroll their content.
    if (QGuiApplication::screens().isEmpty())
        return;
    const QMargins m = frameMarginsOf(this);
    const QSize frame = frameSizeToShow();
    const QSize room = screenAreaFor(QRect(near, frame)).size().shrunkBy(m);
    const QSize fit = frame.shrunkBy(m).boundedTo(room).expandedTo(minimumSize());
    if (fit != size())
        resize(fit);
}

void TavForm::placeAgain()
{
    // A slot never stored holds 0,0: the screen's corner, where the panel
    // itself usually stands.
    const bool stored = m_slot > 0 && (G.formleft[m_slot] != 0 || G.formtop[m_slot] != 0);
    const std::optional<QRect> panel = isPanelOrHub(objectName()) ? std::nullopt : shownPanelFrame();
    fitScreen(stored ? QPoint(int(std::lround(G.formleft[m_slot] / twipsPerPixel())),
                              int(std::lround(G.formtop[m_slot] / twipsPerPixel())))
                     : (panel ? panel->topLeft() : QPoint()));
    if (stored || (!placeBesidePanel() && m_slot > 0))
        moveTwips(G.formleft[m_slot], G.formtop[m_slot]);
}

bool TavForm::placeBesidePanel()
{
    if (isPanelOrHub(objectName()))
        return false;
    const std::optional<QRect> panel = shownPanelFrame();
    if (!panel)
        return false;
    const QScreen *sc = QGuiApplication::screenAt(panel->center());
    if (!sc)
        sc = QGuiApplication::primaryScreen();
    if (!sc)
        return false;
    const QRect area = sc->availableGeometry();
    const QList<QRect> taken = shownToolFrames(this);
    QSize frame = frameSizeToShow();
    QPoint at = placeBeside(area, panel, frame, taken);
    if (QRect(at, frame).intersects(*panel) && layout()) {
        // No room beside the panel at this height: a window its layout lets
        // grow shorter stands below the panel rather than over it.
        const int room = area.bottom() - panel->bottom() - (frame.height() - height());
        const int least = std::max(minimumSizeHint().height(), minimumHeight());
        if (room >= least && room < height()) {
            resize(width(), room);
            frame = size().grownBy(frameMarginsOf(this));
            const QPoint below = placeBeside(area, panel, frame, taken);
            if (!QRect(below, frame).intersects(*panel))
                at = below;
        }
    }
    m_placed = at;
    m_placedOn = area;
    m_clientAsked = placeFrameAt(this, at);
    return true;
}

namespace {
// Checks a shown window's place whenever the window system reports it on the
// screen, moved or resized (the widget's own events come after its geometry
// is updated; being on the screen is the native window's).
class PlaceWatch : public QObject {
public:
    PlaceWatch(QWidget *w, std::function<void()> check) : QObject(w), m_widget(w), m_check(std::move(check))
    {
        w->installEventFilter(this);
    }
    void watchWindow(QWindow *h)
    {
        if (m_window == h)
            return;
        m_window = h;
        h->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override
    {
        const bool reported = (obj == m_window && ev->type() == QEvent::Expose) ||
                              (obj == m_widget && (ev->type() == QEvent::Move || ev->type() == QEvent::Resize));
        if (reported && m_widget->isVisible() && m_window && m_window->isExposed())
            m_check();
        return false;
    }

private:
    QWidget *m_widget;
    QPointer<QWindow> m_window;
    std::function<void()> m_check;
};
} // namespace

void TavForm::setVisible(bool visible)
{
    // Showing sizes a window its code never sized to its layout, and a window
    // resized once it is made is placed by its client area, no longer by its
    // frame: sized here, before it is made, the place given stands as given.
    if (visible && !isVisible()) {
        if (!testAttribute(Qt::WA_Resized))
            fitLayout();
        if (m_placeAtShow) {
            m_placeAtShow = false;
            placeAgain();
        }
    }
    QWidget::setVisible(visible);
    if (visible && windowHandle()) {
        if (!m_placeWatch)
            m_placeWatch = new PlaceWatch(this, [this] { checkPlace(); });
        static_cast<PlaceWatch *>(m_placeWatch)->watchWindow(windowHandle());
    }
}

void TavForm::checkPlace()
{
    // On the screen the window's frame and size are known. A window whose
    // client area stands where it was put is put right when its frame does
    // not stand where it was asked to (the frame was not known when it was
    // put there, it differs from the other windows' frames, or the window
    // resized itself before the window system had framed it and was put back
    // by its client area), and moved onto the screen when its real frame or
    // a size its code gave it later reaches off it. A window moved by the
    // user stands elsewhere and is left be.
    if (!m_placed)
        return;
    const QMargins m = frameMarginsOf(this);
    // Put by its frame (before any frame was known), the window system
    // reports the client area inside the frame's place.
    const bool framedThere = geometry().topLeft() - QPoint(m.left(), m.top()) == *m_placed;
    if (geometry().topLeft() != m_clientAsked && !framedThere)
        return;
    const QRect frame(*m_placed, size().grownBy(m));
    m_placed = m_placedOn ? fitInto(*m_placedOn, frame) : onScreen(frame);
    const QPoint client = *m_placed + QPoint(m.left(), m.top());
    if (client == geometry().topLeft())
        return;
    const bool resized = testAttribute(Qt::WA_Resized);
    setGeometry(QRect(client, size()));
    setAttribute(Qt::WA_Resized, resized);
    m_clientAsked = geometry().topLeft();
}

// ---- the designed state ----

struct TavForm::Design {
    QPointer<QObject> obj;
    bool disabled = false, hidden = false, checked = false, checkable = false;
    QString text;
    bool ownPalette = false, autoFill = false, ownFont = false;
    QPalette palette;
    QFont font;
    QString styleSheet;
    QSize minSize, maxSize;
    std::optional<QRect> freeGeometry; // controls placed by the window's code
    std::optional<int> value, minimum, maximum;
    std::optional<QStringList> items;   // combo and list box entries
    int currentIndex = -1;
    std::optional<QPoint> current;      // item view: current cell, or none
    QList<QPoint> selected;             // item view: selected cells (column, row)
    std::optional<QImage> picture;
    std::optional<QPixmap> pixmap;      // a label showing a picture
    std::optional<QPoint> scrolled;     // scroll area: horizontal, vertical position
};

namespace {

QList<QPoint> selectedCells(const QItemSelectionModel *sm)
{
    QList<QPoint> cells;
    if (sm)
        for (const QModelIndex &i : sm->selectedIndexes())
            cells << QPoint(i.column(), i.row());
    return cells;
}

// A part Qt makes inside a composite control (a view's viewport, headers
// and bars, a combo's box and list): the control owns its state.
bool insideComposite(const QObject *o, const QObject *top)
{
    for (const QObject *p = o->parent(); p && p != top; p = p->parent())
        if (qobject_cast<const QAbstractScrollArea *>(p) || qobject_cast<const QComboBox *>(p) ||
            qobject_cast<const QAbstractSpinBox *>(p))
            return true;
    return false;
}

} // namespace

void TavForm::noteDesign(QObject *root)
{
    auto note = [&](QObject *o) {
        for (const auto &d : m_design)
            if (d->obj == o)
                return;
        if (insideComposite(o, this))
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
            if (auto *l = qobject_cast<QLabel *>(w)) {
                d->text = l->text();
                if (!l->pixmap().isNull())
                    d->pixmap = l->pixmap();
            } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
                d->text = b->text();
                d->checkable = b->isCheckable();
                d->checked = b->isChecked();
            } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
                d->text = g->title();
                d->checkable = g->isCheckable();
                d->checked = g->isChecked();
            } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
                d->text = e->text();
            } else if (auto *t = qobject_cast<QPlainTextEdit *>(w)) {
                d->text = t->toPlainText();
            } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
                d->text = t->toPlainText();
            } else if (auto *c = qobject_cast<QComboBox *>(w)) {
                QStringList items;
                for (int i = 0; i < c->count(); ++i)
                    items << c->itemText(i);
                d->items = items;
                d->currentIndex = c->currentIndex();
                d->text = c->currentText();
            } else if (auto *lw = qobject_cast<QListWidget *>(w)) {
                QStringList items;
                for (int i = 0; i < lw->count(); ++i)
                    items << lw->item(i)->text();
                d->items = items;
            } else if (auto *sl = qobject_cast<QAbstractSlider *>(w)) {
                d->value = sl->value();
                d->minimum = sl->minimum();
                d->maximum = sl->maximum();
            } else if (auto *sp = qobject_cast<QSpinBox *>(w)) {
                d->value = sp->value();
                d->minimum = sp->minimum();
                d->maximum = sp->maximum();
            } else if (auto *cv = qobject_cast<Canvas *>(w)) {
                d->picture = cv->picture().image();
            }
            if (auto *sa = qobject_cast<QAbstractScrollArea *>(w))
                d->scrolled = QPoint(sa->horizontalScrollBar()->value(), sa->verticalScrollBar()->value());
            if (auto *v = qobject_cast<QAbstractItemView *>(w)) {
                if (v->selectionModel() && v->currentIndex().isValid())
                    d->current = QPoint(v->currentIndex().column(), v->currentIndex().row());
                d->selected = selectedCells(v->selectionModel());
            }
            d->ownPalette = w->testAttribute(Qt::WA_SetPalette);
            d->palette = w->palette();
            d->ownFont = w->testAttribute(Qt::WA_SetFont);
            d->font = w->font();
            d->autoFill = w->autoFillBackground();
            d->styleSheet = w->styleSheet();
            d->minSize = w->minimumSize();
            d->maxSize = w->maximumSize();
            if (w->parentWidget() && !w->parentWidget()->layout())
                d->freeGeometry = w->geometry();
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
    // Nothing put back here is a user's action: no handler runs.
    if (windowTitle() != m_designTitle)
        setWindowTitle(m_designTitle);
    QList<std::pair<QAbstractButton *, bool>> ticks;
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
            continue;
        }
        auto *w = qobject_cast<QWidget *>(d->obj.data());
        if (!w)
            continue;
        const QSignalBlocker block(w);
        w->setEnabled(!d->disabled);
        w->setHidden(d->hidden);
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (d->pixmap) {
                if (l->pixmap().cacheKey() != d->pixmap->cacheKey())
                    l->setPixmap(*d->pixmap);
            } else if (l->text() != d->text || !l->pixmap().isNull()) {
                l->setText(d->text);
            }
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            if (b->text() != d->text)
                b->setText(d->text);
            b->setCheckable(d->checkable);
            if (b->isChecked() != d->checked)
                ticks << std::pair{b, d->checked};
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            g->setTitle(d->text);
            g->setCheckable(d->checkable);
            g->setChecked(d->checked);
        } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
            if (e->text() != d->text)
                e->setText(d->text);
        } else if (auto *t = qobject_cast<QPlainTextEdit *>(w)) {
            if (t->toPlainText() != d->text)
                t->setPlainText(d->text);
        } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
            if (t->toPlainText() != d->text)
                t->setPlainText(d->text);
        } else if (auto *c = qobject_cast<QComboBox *>(w)) {
            QStringList items;
            for (int i = 0; i < c->count(); ++i)
                items << c->itemText(i);
            if (items != *d->items) {
                c->clear();
                c->addItems(*d->items);
            }
            c->setCurrentIndex(d->currentIndex);
            if (c->isEditable())
                c->setEditText(d->text);
        } else if (auto *lw = qobject_cast<QListWidget *>(w)) {
            QStringList items;
            for (int i = 0; i < lw->count(); ++i)
                items << lw->item(i)->text();
            if (items != *d->items) {
                lw->clear();
                lw->addItems(*d->items);
            }
        } else if (auto *sl = qobject_cast<QAbstractSlider *>(w)) {
            sl->setRange(*d->minimum, *d->maximum);
            sl->setValue(*d->value);
        } else if (auto *sp = qobject_cast<QSpinBox *>(w)) {
            sp->setRange(*d->minimum, *d->maximum);
            sp->setValue(*d->value);
        } else if (auto *cv = qobject_cast<Canvas *>(w)) {
            if (cv->picture().image() != *d->picture)
                cv->picture().setImage(*d->picture);
        }
        if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->selectionModel() && v->model()) {
            QItemSelectionModel *sm = v->selectionModel();
            if (selectedCells(sm) != d->selected || !d->current != !v->currentIndex().isValid() ||
                (d->current && QPoint(v->currentIndex().column(), v->currentIndex().row()) != *d->current)) {
                const QSignalBlocker blockSel(sm);
                sm->clear();
                for (const QPoint &p : d->selected)
                    sm->select(v->model()->index(p.y(), p.x()), QItemSelectionModel::Select);
                if (d->current)
                    sm->setCurrentIndex(v->model()->index(d->current->y(), d->current->x()),
                                        QItemSelectionModel::NoUpdate);
                v->viewport()->update();
            }
        }
        if (auto *sa = qobject_cast<QAbstractScrollArea *>(w); sa && d->scrolled) {
            sa->horizontalScrollBar()->setValue(d->scrolled->x());
            sa->verticalScrollBar()->setValue(d->scrolled->y());
        }
        if (w->styleSheet() != d->styleSheet)
            w->setStyleSheet(d->styleSheet);
        if (d->ownPalette || w->testAttribute(Qt::WA_SetPalette))
            w->setPalette(d->ownPalette ? d->palette : QPalette());
        if (d->ownFont || w->testAttribute(Qt::WA_SetFont))
            w->setFont(d->ownFont ? d->font : QFont());
        w->setAutoFillBackground(d->autoFill);
        if (w->minimumSize() != d->minSize)
            w->setMinimumSize(d->minSize);
        if (w->maximumSize() != d->maxSize)
            w->setMaximumSize(d->maxSize);
        if (d->freeGeometry && w->geometry() != *d->freeGeometry)
            w->setGeometry(*d->freeGeometry);
    }
    // Ticks last: an option button that is to be off cannot be switched off
    // while it is its group's only one on, so that happens outside its group.
    for (auto [b, on] : ticks) {
        const QSignalBlocker block(b);
        if (!on && b->autoExclusive()) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        } else {
            b->setChecked(on);
        }
    }
    // The layout's limits follow the controls' sizes just put back, before
    // the window's own size is (a stale minimum would hold a larger one).
    if (m_designResized && layout())
        layout()->activate();
    // The size it had before its first load; a window its code never sized
    // takes the size its layout gives it when it shows, as the first time.
    if (size() != m_designSize)
        resize(m_designSize);
    if (!m_designResized)
        setAttribute(Qt::WA_Resized, false);
}

void TavForm::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_unloadPending = false;
    if (m_restoresDesign) {
        if (!m_designNoted) {
            m_designSize = size();
            m_designResized = testAttribute(Qt::WA_Resized);
            m_designTitle = windowTitle();
            noteDesign(this);
        } else {
            restoreDesign();
        }
        m_designNoted = true;
    }
    placeAtLoad();
    m_loadedMark = true;
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
    m_loadedMark = false;
    hide();
    emit unloaded();
}

void TavForm::closeEvent(QCloseEvent *ev)
{
    ev->ignore();
    closeAsked();
}

bool TavForm::askToDropChanges(const QString &fate)
{
    if (!m_loaded || !hasUnsavedChanges())
        return true;
    const int answer = msgBox(QStringList{QStringLiteral("The data in the ") + unsavedName() +
                                              QStringLiteral(" is not saved."),
                                          QStringLiteral("Do you want to save it before it is ") + fate + QLatin1Char('?')},
                              MsgIcon::Question, QStringLiteral("Unsaved data"), MsgButtons::SaveDiscardCancel);
    if (answer == vbNo)
        return true;
    if (answer != vbYes)
        return false;
    saveChanges();
    return !hasUnsavedChanges();
}

bool TavForm::closeAsked()
{
    if (!m_loaded)
        return false;
    // A panel's close unloads every tool with it, so one Cancel keeps them all.
    if (!(m_role == WindowRole::Panel ? askUnsavedTools() : askToDropChanges()))
        return false;
    unload();
    return true;
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

void Windows::registerFactory(WindowId id, Factory f) { entry(id).factory = std::move(f); }

bool Windows::available(WindowId id)
{
    const Entry &e = entry(id);
    return e.factory || e.instance;
}

TavForm *Windows::get(WindowId id)
{
    Entry &e = entry(id);
    if (!e.instance && e.factory)
        e.instance = e.factory();
    return e.instance;
}

TavForm *Windows::existing(WindowId id) { return entry(id).instance.data(); }

bool Windows::loaded(WindowId id)
{
    const TavForm *f = existing(id);
    return f && f->loadedMark();
}

void Windows::destroyAll()
{
    // Windows deleted without their unload must not stay linked to the hub.
    links::clear();
    for (Entry &e : table()) {
        if (e.instance) {
            delete e.instance.data();
            e.instance.clear();
        }
    }
}

QStringList Windows::names()
{
    QStringList n;
    for (const WindowDecl &d : windowDecls)
        if (available(d.id))
            n << QLatin1String(d.name);
    n.sort();
    return n;
}

const QList<WindowId> &unloadToolsOrder()
{
    static const QList<WindowId> order = [] {
        QList<WindowId> o;
        for (const WindowDecl &d : windowDecls)
            if (d.role == WindowRole::Tool)
                o << d.id;
        return o;
    }();
    return order;
}

bool askUnsavedTools()
{
    for (WindowId id : unloadToolsOrder()) {
        if (TavForm *f = Windows::existing(id); f && f->loadedMark() && !f->askToDropChanges())
            return false;
    }
    return true;
}

void UnloadTools()
{
    for (WindowId id : unloadToolsOrder()) {
        if (TavForm *f = Windows::existing(id); f && f->loadedMark())
            f->unload();
    }
}

} // namespace tav
