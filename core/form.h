#pragma once
// Base of every window: an explicit load and unload (never the constructor
// and destructor, because the panel menu's Exit must end the program without
// any unload work), the position slot, and whether the window is loaded.

#include "core/globals.h"
#include "core/windowdecl.h"

#include <QMargins>
#include <QTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace tav {

class TavForm : public QWidget {
    Q_OBJECT
public:
    // Name and position slot (0 keeps none) come from the window's declaration.
    explicit TavForm(WindowId id, QWidget *parent = nullptr);

    // Runs the window's load (once until it is unloaded). The window stays hidden.
    void load();
    // Loads when needed and shows the window modeless.
    void showModeless();
    // Loads when needed, shows the window modal and returns once it is unloaded.
    void showModal();
    // Runs the window's unload, stores its position and marks the window not
    // loaded (Windows::loaded) once the unload has run. When
    // one of the window's waits is running, the unload happens once it returns.
    void unload();

    bool isLoadedForm() const { return m_loaded; }
    // What the rest of the program sees as "loaded" (Windows::loaded): from
    // just before the window's Form_Load to just after its Form_Unload.
    bool loadedMark() const { return m_loadedMark; }
    // An unload was asked for while one of the window's waits runs: the
    // window's loops end early on it.
    bool unloadPending() const { return m_unloadPending; }
    int slot() const { return m_slot; }

    // A tool holding what the listener typed or recorded since its last load
    // or save says so; every way of closing it but its own Exit asks first.
    // Not const: a tool may first take an edit still open in one of its boxes.
    virtual bool hasUnsavedChanges() { return false; }
    // What the question calls the window ("the Logging window"): its fixed
    // name from its declaration, whatever its caption says now.
    QString unsavedName() const { return QLatin1String(windowDecl(m_id).title); }
    // Runs the tool's own save (its Save dialog or its file). The changes
    // count as kept once hasUnsavedChanges() is false again, so a save that
    // failed or was cancelled keeps the window.
    virtual void saveChanges() {}
    // Save, Discard or Cancel for unsaved changes: true when they are saved or
    // may go. A window without unsaved changes answers true without a question.
    // `fate` is what is about to happen to them ("closed", "replaced").
    bool askToDropChanges(const QString &fate = QStringLiteral("closed"));
    // Closes the window as its close box or a panel's Close does: a panel
    // first asks every open tool, a tool itself; a Cancel keeps all as it was.
    // True when the window was unloaded.
    bool closeAsked();

    // Marks a wait or loop of this window as running (see unload()).
    class Busy {
    public:
        explicit Busy(TavForm *f);
        ~Busy();
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;
    private:
        QPointer<TavForm> m_form;
    };

    // Window position in twips: the frame's top left (title bar included).
    // The place a window was put at stands until the window moves from it, so
    // a window left alone stores exactly what it was given, however late the
    // window system reports its frame; after a move the frame is its client
    // area less the frame's margins.
    int leftTwips() const;
    int topTwips() const;
    int widthTwips() const;
    void moveTwips(int left, int top);
    // The frame on the screen in pixels, reckoned as the stored position is.
    QRect frameRect() const;
    // The frame's top left in pixels where a position in twips puts it.
    static QPoint framePlace(int leftTwips, int topTwips, const QSize &frameSize);
    // Places the window as its load does: at its stored place, or, for a
    // tool window that has none, beside the open receiver panel.
    void placeAgain();

    // A window is kept between loads and must come back as designed: the
    // state of every control (enabled, shown, caption, text, tick, choice,
    // value, scroll position, selection, picture, colours, font and, for
    // free-placed controls and the window, size) is noted at the first load
    // and put back, without running any handler, before every later load.
    // Each window's own load then sets what it sets.
    void setRestoresDesign(bool on) { m_restoresDesign = on; }
    // Notes the designed state of controls made after the first load began
    // (menus built by the first load).
    void noteDesign(QObject *root);

signals:
    void unloaded();

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // An unload asked for while one of the window's waits or loops runs: the
    // loop can end early (the unload follows when it returns).
    virtual void Form_UnloadRequested() {}
    // The position is restored before Form_Load runs, as each window's load does first.
    void closeEvent(QCloseEvent *ev) override;
    void setVisible(bool visible) override;

private:
    WindowId m_id;
    int m_slot;
    WindowRole m_role;
    bool m_loaded = false;
    bool m_loadedMark = false;
    int m_busy = 0;
    bool m_unloadPending = false;
    // The frame's place last given and the client place that gave it.
    std::optional<QPoint> m_placed;
    // The screen area a window placed beside the panel is kept on.
    std::optional<QRect> m_placedOn;
    QPoint m_clientAsked;
    QPoint framePosition() const;
    // The size the frame will have when shown (the layout's size when the
    // window's code never sized it).
    QSize frameSizeToShow();
    // Sizes a window its code never sized to its layout, as showing does.
    void fitLayout();
    // The place at load: the stored one, or, for a tool window that has
    // none, beside the open receiver panel.
    void placeAtLoad();
    bool placeBesidePanel();
    bool m_placeAtShow = false;
    void fitScreen(const QPoint &near);
    // Checks the place whenever the window system reports the window.
    QObject *m_placeWatch = nullptr;
    void checkPlace();
    bool m_restoresDesign = true;
    QSize m_designSize;
    bool m_designResized = false;
    QString m_designTitle;
    bool m_designNoted = false;
    struct Design;
    QList<std::shared_ptr<Design>> m_design;
    void restoreDesign();
};

// Twips per pixel from the screen's logical DPI (15 at 96 DPI).
double twipsPerPixel();

// The window system's frame around a shown top-level window: its own when the
// system reports one, else the one last reported for any window (none before).
QMargins frameMarginsOf(const QWidget *w);
// Puts a top-level window's frame at `frame` (pixels) and returns where its
// client area was asked to go. Once a frame is known the client area is
// placed, which every window system keeps where it is put; before, the window
// system is asked to put the frame itself there.
QPoint placeFrameAt(QWidget *w, QPoint frame);
// Where the program puts a window (a frame of `size`) it places itself, on a
// screen's free `area`: the first place beside the receiver panel's frame,
// then beside one of the `taken` frames (right, below, left, above), that lies
// wholly on the area and over neither the panel nor a taken frame; otherwise
// over the panel's lower right, a step away from any taken frame standing
// there; with no panel, the area's top left. A window larger than the area
// keeps its top left on it.
QPoint placeBeside(const QRect &area, const std::optional<QRect> &panel, const QSize &size,
                   const QList<QRect> &taken = {});
// The frames of the tool windows shown, but `except`'s: places taken.
QList<QRect> shownToolFrames(const QWidget *except);
// Where a frame stands wholly on the screen: where it is when it lies on the
// screens (one, or several side by side), else moved the least onto the screen holding most of it (the nearest when
// none does); a frame larger than that screen keeps its top left on it.
QPoint onScreen(const QRect &frame);
// Where a frame stands moved the least onto `area` (its top left on it when
// it is larger).
QPoint fitInto(const QRect &area, const QRect &frame);
// The frame of the receiver panel on the screen, if one is shown.
std::optional<QRect> shownPanelFrame();

// The registry of windows: for each declared window (core/windowdecl.h), once
// built, how to create it. Windows are created on first use.
class Windows {
public:
    using Factory = std::function<TavForm *()>;
    // An empty factory takes the window out of this build.
    static void registerFactory(WindowId id, Factory f);
    // Registers the window class's own factory (a plain `new T`).
    template <class T> static void registerWindow() { registerFactory(T::windowId, [] { return new T; }); }
    static bool available(WindowId id);
    // The window, created when needed; nullptr when it is not built.
    static TavForm *get(WindowId id);
    // The existing instance, if any.
    static TavForm *existing(WindowId id);
    // A window that may not apply (no panel for the receiver type): nullptr.
    static TavForm *get(std::optional<WindowId> id) { return id ? get(*id) : nullptr; }
    static TavForm *existing(std::optional<WindowId> id) { return id ? existing(*id) : nullptr; }
    // Typed access: each window class names its declaration as `windowId`.
    template <class T> static T *get() { return qobject_cast<T *>(get(T::windowId)); }
    template <class T> static T *existing() { return qobject_cast<T *>(existing(T::windowId)); }
    template <class T> static T *get(std::optional<WindowId> id) { return qobject_cast<T *>(get(id)); }
    template <class T> static T *existing(std::optional<WindowId> id) { return qobject_cast<T *>(existing(id)); }
    // Whether the window is loaded (false for one never created, and for a
    // window that does not apply).
    static bool loaded(WindowId id);
    static bool loaded(std::optional<WindowId> id) { return id && loaded(*id); }
    template <class T> static bool loaded() { return loaded(T::windowId); }
    // Unloads and forgets every instance (tests, and the end of the program).
    static void destroyAll();
    // The names of every window that can be created, sorted.
    static QStringList names();
};

// Closes every open tool window, in the program's fixed order. It asks
// nothing: what closes the tools asks first (askUnsavedTools).
void UnloadTools();
// Asks each open tool holding unsaved changes, in UnloadTools' order, to
// save or drop them: false at the first Cancel (or a save that did not
// happen), before anything was closed.
bool askUnsavedTools();
// The windows UnloadTools walks, in order.
const QList<WindowId> &unloadToolsOrder();

} // namespace tav
