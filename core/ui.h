#pragma once
// A thin layer over Qt's widgets that behaves as the program's windows expect
// of their controls: option groups and check boxes whose programmatic change
// runs their click handling, scroll bars with the larger value at the top,
// a spin button, message and input boxes that tests can answer, the busy
// pointer, and colours given as &HBBGGRR.

#include "core/textfile.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QToolButton>
#include <QVector>
#include <QWidget>
#include <functional>
#include <optional>

namespace tav {

// A label that reports clicks (rounding labels, mute, bar value labels, a scan's range ends).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    ClickLabel(const QString &name, const QString &text, QWidget *parent);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *ev) override;
};


// The colours the windows share, as &HBBGGRR values.
constexpr unsigned kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kOrange = 0x0080FF, kYellow = 0x80FFFF,
                   kLightYellow = 0xC0FFFF, kGrey = 0x888888, kDesignGrey = 0x808080;

// &HBBGGRR -> QColor
QColor vbColor(unsigned int bbggrr);
// Sets a widget's background (and optionally text) colour from &HBBGGRR values.
void setBackColor(QWidget *w, unsigned int bbggrr);
void setForeColor(QWidget *w, unsigned int bbggrr);

// ---- message and input boxes -------------------------------------------

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// SaveDiscardCancel answers Save as vbYes and Discard as vbNo.
enum class MsgButtons { OK, OKCancel, YesNoCancel, YesNo, SaveDiscardCancel };
// Results, numbered as the program's code has always compared them.
enum MsgResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Shows a modal box; the lines are joined with a line feed. `defaultAnswer`
// (a MsgResult of the buttons) is the button Return presses; 0 leaves the
// usual one (OK, Yes).
int msgBox(const QStringList &lines, MsgIcon icon, const QString &title, MsgButtons buttons = MsgButtons::OK,
           int defaultAnswer = 0);
inline int msgBox(const QString &text, MsgIcon icon, const QString &title, MsgButtons buttons = MsgButtons::OK,
                  int defaultAnswer = 0)
{
    return msgBox(QStringList{text}, icon, title, buttons, defaultAnswer);
}

// Text typed by the user that the program's Latin-1 files could not keep:
// refused with one message naming `what` ("The notes", "The station name");
// true when the text can be kept as typed.
bool acceptLatin1Entry(const QString &text, const QString &what);

// The same check on every edit of a box: an edit that brings in such text
// is undone at once (the box keeps its last text that can be kept) and
// refused with the message. `separators` are signs the box's file uses
// between its fields: an edit that brings one in is refused the same way,
// with a message that names the sign.
void keepLatin1(QLineEdit *box, const QString &what, const QString &separators = QString());

// Reads a tool's file under its kind's limits (core/textfile.h); one with
// more lines than the kind holds is read as far as it holds, and that is
// said once; *pastWithText (when given) counts the lines left out that held
// text. std::nullopt, and the reason in *why, when it cannot be read or is
// far too large to be one of its kind.
std::optional<QStringList> readKindFile(const QString &path, const TextLimits &limits, QString *why,
                                        qint64 *pastWithText = nullptr);

// Said once for a file that held more lines than its kind can: only the
// first `kept` were read.
void reportFileCut(const QString &fileName, int kept);
// The same for a file whose lines held more fields than its kind keeps:
// only the first `kept` fields of each line were read.
void reportFieldsCut(const QString &fileName, int kept, const QString &fields);

// Shows an input box; std::nullopt on Cancel.
std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &defaultText = QString());

// What a box showed (for tests).
struct ShownBox {
    QString text; // lines joined with "\n"
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::OK;
    bool isInput = false;
    int defaultAnswer = 0; // the box's default button, when it names one
};

// Tests install a script: boxes are recorded, never shown, and answered from
// the queue (an empty queue answers as Return would where a box names its
// default button, else OK, Cancel for questions, and Cancel for input boxes).
class DialogScript {
public:
    static bool enabled;
    static QList<ShownBox> shown;
    static QList<int> answers;             // for message boxes
    static QList<std::optional<QString>> inputs; // for input boxes
    // Runs while a box is up, as timers and clicks run under a real one.
    static std::function<void()> whileShown;
    static void reset();
};

// ---- busy pointer -------------------------------------------------------

class HourglassGuard {
public:
    HourglassGuard();
    ~HourglassGuard();
    HourglassGuard(const HourglassGuard &) = delete;
    HourglassGuard &operator=(const HourglassGuard &) = delete;
};

// ---- option button groups -------------------------------------------------

// An array of option buttons: index i is the value. Selecting an unselected
// button from the program runs the click handling, as a user's click does.
class OptionGroup : public QObject {
    Q_OBJECT
public:
    explicit OptionGroup(QObject *parent = nullptr) : QObject(parent) {}
    // Adds button `index` (named "<baseName>(<index>)", caption `text`).
    QRadioButton *add(int index, const QString &baseName, const QString &text, QWidget *parent);
    QRadioButton *button(int index) const;
    int count() const { return m_buttons.size(); }
    // Selects button `index`; runs clicked(index) when it was not selected.
    // Out-of-range indexes select nothing.
    void select(int index);
    int selected() const; // -1 when none
    // Shows again the choice that stood before the last click or select,
    // without click handling: the receiver did not take the new one.
    void putBack();
signals:
    void clicked(int index);

private:
    void show(int index);
    QVector<QRadioButton *> m_buttons;
    bool m_programmatic = false;
    int m_before = -1;
};

// A check box whose value set from the program runs its click handling when
// the value changes (0 or 1).
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    CheckBox(const QString &name, const QString &text, QWidget *parent);
    int value() const { return isChecked() ? 1 : 0; }
    void setValue(int v);
signals:
    void clickedValue(int value);
};

// A vertical scroll bar. `top` and `bottom` are the values at its two ends
// (the panels put the larger value at the top). valueChanged(int) runs on
// user moves and on program writes, only when the value changes.
class VScroll : public QScrollBar {
    Q_OBJECT
public:
    VScroll(const QString &name, QWidget *parent);
    void setEnds(int top, int bottom);
    int topValue() const { return m_top; }
    int bottomValue() const { return m_bottom; }
    void setSmallChange(int v) { setSingleStep(v); }
    void setLargeChange(int v) { setPageStep(v); }
    // Shows a value the receiver holds or was just sent. The change handling
    // (which sends the bar's value) does not run: a shown value is never sent
    // back, since byte -> bar -> byte need not give the byte again.
    void showValue(int v);
    // The value the receiver last took or reported: a shown value, or one
    // whose write it took (`keepTaken`). A value it did not take goes back
    // there (`putBackTaken`), without the change handling.
    int takenValue() const { return m_taken; }
    void keepTaken(int v) { m_taken = v; }
    void putBackTaken();

protected:
    void wheelEvent(QWheelEvent *ev) override;

private:
    int m_top = 0, m_bottom = 100;
    int m_taken = 0;
};

// A spin button: two arrows with up and down events.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    SpinButton(const QString &name, QWidget *parent);
    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }
signals:
    void SpinUp();
    void SpinDown();

private:
    QToolButton *m_up, *m_down;
};

// Small helpers for building windows with named controls.
QLabel *makeLabel(const QString &name, const QString &text, QWidget *parent);
// A label for a path or a name pattern: shown as typed, wrapped where long.
QLabel *makeNoteLabel(const QString &name, QWidget *parent);
QGroupBox *makeFrame(const QString &name, const QString &caption, QWidget *parent);
// A button that Enter does not press by default.
QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent);
// A combo box the user types a value into: its text stays as typed (no item
// is completed into it while typing) and Enter adds nothing to its list.
QComboBox *makeEntryCombo(const QString &name, QWidget *parent);
// Button `index` of a control array, named "base(index)".
QPushButton *arrayButton(const QString &base, int index, const QString &caption, QWidget *parent);
// The same for a receiver panel: its buttons never take the focus from the
// frequency box, which the panel's keys work on.
QPushButton *makePanelButton(const QString &name, const QString &caption, QWidget *parent);
QPushButton *panelButton(const QString &base, int index, const QString &caption, QWidget *parent);
// A receiver panel's button in a colour (&HBBGGRR), light yellow for the
// setting buttons the panels share.
QPushButton *colouredButton(const QString &name, const QString &caption, unsigned bbggrr, QWidget *parent);
inline QPushButton *yellowButton(const QString &name, const QString &caption, QWidget *parent)
{
    return colouredButton(name, caption, kLightYellow, parent);
}

// The width every value label beside a bar or among buttons is given.
constexpr int kValueLabelWidth = 40;
// The height every bar is given.
constexpr int kBarHeight = 120;

// A label showing a setting's value: a sunken panel, centred, at least
// kValueLabelWidth wide. Works on QLabel and its subclasses.
template <class L> L *valueLabel(L *l)
{
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    l->setMinimumWidth(kValueLabelWidth);
    return l;
}
// The same in the panels' colours: blue on light yellow.
template <class L> L *yellowValueLabel(L *l)
{
    valueLabel(l);
    setBackColor(l, kLightYellow);
    setForeColor(l, kBlue);
    return l;
}
inline QLabel *makeValueLabel(const QString &name, QWidget *parent) { return valueLabel(makeLabel(name, QString(), parent)); }

// A vertical bar from `top` to `bottom` (the values at its ends) moving by
// `small` per arrow and `large` per page, kBarHeight high.
VScroll *makeBar(const QString &name, int top, int bottom, int small, int large, QWidget *parent);
// The same for a receiver panel: the bar never takes the focus from the
// frequency box.
VScroll *makePanelBar(const QString &name, int top, int bottom, int small, int large, QWidget *parent);

} // namespace tav
