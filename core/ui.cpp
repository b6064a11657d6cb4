#include "core/ui.h"

#include "core/exchange.h"

#include <QMouseEvent>

#include "core/textfile.h"

#include <memory>

#include <QApplication>
#include <QBoxLayout>
#include <QGuiApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <utility>
#include <QMessageBox>
#include <QWheelEvent>

namespace tav {

ClickLabel::ClickLabel(const QString &name, const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *ev)
{
    if (ev->button() == Qt::LeftButton && rect().contains(ev->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(ev);
}


QColor vbColor(unsigned int bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

void setBackColor(QWidget *w, unsigned int bbggrr)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, vbColor(bbggrr));
    p.setColor(QPalette::Button, vbColor(bbggrr));
    p.setColor(QPalette::Base, vbColor(bbggrr));
    w->setAutoFillBackground(true);
    w->setPalette(p);
}

void setForeColor(QWidget *w, unsigned int bbggrr)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, vbColor(bbggrr));
    p.setColor(QPalette::ButtonText, vbColor(bbggrr));
    p.setColor(QPalette::Text, vbColor(bbggrr));
    w->setPalette(p);
}

// ---- message boxes ----

bool DialogScript::enabled = false;
QList<ShownBox> DialogScript::shown;
QList<int> DialogScript::answers;
QList<std::optional<QString>> DialogScript::inputs;
std::function<void()> DialogScript::whileShown;

void DialogScript::reset()
{
    shown.clear();
    answers.clear();
    inputs.clear();
    whileShown = nullptr;
}

int msgBox(const QStringList &lines, MsgIcon icon, const QString &title, MsgButtons buttons, int defaultAnswer)
{
    const QString text = lines.join(QLatin1Char('\n'));
    if (DialogScript::enabled) {
        DialogScript::shown.append({text, title, icon, buttons, false, defaultAnswer});
        if (DialogScript::whileShown) {
            // A box raised from inside the hook does not run it again.
            const std::function<void()> hook = std::exchange(DialogScript::whileShown, nullptr);
            hook();
            DialogScript::whileShown = hook;
        }
        if (!DialogScript::answers.isEmpty())
            return DialogScript::answers.takeFirst();
        if (defaultAnswer != 0)
            return defaultAnswer;
        return (buttons == MsgButtons::OK) ? vbOK : vbCancel;
    }
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: break;
    }
    switch (buttons) {
    case MsgButtons::OK: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        break;
    }
    switch (defaultAnswer) {
    case vbOK: box.setDefaultButton(QMessageBox::Ok); break;
    case vbCancel: box.setDefaultButton(QMessageBox::Cancel); break;
    case vbYes:
        box.setDefaultButton(buttons == MsgButtons::SaveDiscardCancel ? QMessageBox::Save : QMessageBox::Yes);
        break;
    case vbNo:
        box.setDefaultButton(buttons == MsgButtons::SaveDiscardCancel ? QMessageBox::Discard : QMessageBox::No);
        break;
    default: break;
    }
    // The window system cuts a title its bar cannot hold ("Fir...on" over a
    // short "VER 1.06"): the box is made as wide as the title in a bold face
    // with room for the bar's icon, its buttons (each about a line and a half
    // square) and the bar's own padding, whose sizes the program cannot ask.
    QFont bold = box.font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(fm.horizontalAdvance(title) + 8 * fm.height(), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    const Exchange::InputOpening answerable(&box);
    switch (box.exec()) {
    case QMessageBox::Ok: return vbOK;
    case QMessageBox::Yes:
    case QMessageBox::Save: return vbYes;
    case QMessageBox::No:
    case QMessageBox::Discard: return vbNo;
    default: return vbCancel;
    }
}

bool acceptLatin1Entry(const QString &text, const QString &what)
{
    if (isLatin1(text))
        return true;
    // Each quoted, so that a dash or a quote mark does not read as the sentence's own.
    QList<char32_t> bad;
    QString quoted;
    for (char32_t c : text.toUcs4())
        if (c > 0xff && !bad.contains(c)) {
            bad << c;
            quoted += (quoted.isEmpty() ? QString() : QStringLiteral(", ")) + QLatin1Char('"') +
                      QString::fromUcs4(&c, 1) + QLatin1Char('"');
        }
    msgBox(QStringList{what + QStringLiteral(" holds characters that Tavorin's files cannot keep: ") + shownText(quoted, 40),
                       QStringLiteral("Only Latin-1 letters and signs can be saved; please type it without them.")},
           MsgIcon::Exclamation, QStringLiteral("Input Error"));
    return false;
}

namespace {

// The first of `separators` in `text`, or a null QChar.
QChar separatorIn(const QString &text, const QString &separators)
{
    for (QChar c : text)
        if (separators.contains(c))
            return c;
    return QChar();
}

} // namespace

void keepLatin1(QLineEdit *box, const QString &what, const QString &separators)
{
    auto last = std::make_shared<QString>(box->text());
    QObject::connect(box, &QLineEdit::textChanged, box, [last, separators](const QString &t) {
        if (isLatin1(t) && separatorIn(t, separators).isNull())
            *last = t;
    });
    QObject::connect(box, &QLineEdit::textEdited, box, [box, last, what, separators](const QString &t) {
        const QChar sep = separatorIn(t, separators);
        if (isLatin1(t) && sep.isNull())
            return;
        box->setText(*last);
        if (!acceptLatin1Entry(t, what))
            return;
        msgBox(QStringList{what + QStringLiteral(" cannot hold \"") + sep + QStringLiteral("\": the file uses it between its fields."),
                           QStringLiteral("Please type it without that sign.")},
               MsgIcon::Exclamation, QStringLiteral("Input Error"));
    });
}

std::optional<QStringList> readKindFile(const QString &path, const TextLimits &limits, QString *why,
                                        qint64 *pastWithText)
{
    std::optional<TextLines> read = readTextFile(path, limits);
    if (!read) {
        if (why)
            *why = readFailureReason(path);
        return std::nullopt;
    }
    if (pastWithText)
        *pastWithText = read->pastWithText;
    if (read->cut)
        reportFileCut(QFileInfo(path).fileName(), limits.maxLines);
    return std::move(read->lines);
}

namespace {
void reportCut(const QString &fileName, const QString &holds, const QString &loaded)
{
    msgBox(QStringList{QStringLiteral("The file ") + fileName, holds, loaded}, MsgIcon::Exclamation,
           QStringLiteral("Error"));
}
} // namespace

void reportFileCut(const QString &fileName, int kept)
{
    reportCut(fileName, QStringLiteral("has more lines than a file of its kind holds."),
              QStringLiteral("Only its first ") + QString::number(kept) + QStringLiteral(" lines are loaded."));
}

void reportFieldsCut(const QString &fileName, int kept, const QString &fields)
{
    reportCut(fileName, QStringLiteral("has more ") + fields + QStringLiteral(" in a line than a file of its kind holds."),
              QStringLiteral("Only the first ") + QString::number(kept) + QLatin1Char(' ') + fields +
                  QStringLiteral(" of each line are loaded."));
}

std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    if (DialogScript::enabled) {
        DialogScript::shown.append({prompt, title, MsgIcon::None, MsgButtons::OKCancel, true});
        if (!DialogScript::inputs.isEmpty())
            return DialogScript::inputs.takeFirst();
        return std::nullopt;
    }
    QInputDialog box;
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    const Exchange::InputOpening answerable(&box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

// ---- busy pointer ----

HourglassGuard::HourglassGuard() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
HourglassGuard::~HourglassGuard() { QGuiApplication::restoreOverrideCursor(); }

// ---- option groups ----

QRadioButton *OptionGroup::add(int index, const QString &baseName, const QString &text, QWidget *parent)
{
    if (m_buttons.size() <= index)
        m_buttons.resize(index + 1, nullptr);
    auto *b = new QRadioButton(text, parent);
    b->setObjectName(baseName + QLatin1Char('(') + QString::number(index) + QLatin1Char(')'));
    b->setAutoExclusive(false);
    m_buttons[index] = b;
    connect(b, &QRadioButton::clicked, this, [this, index, b] {
        // The click has toggled the button: checked now, it was not before,
        // and the choice before was whichever other one is checked.
        m_before = index;
        if (b->isChecked()) {
            m_before = -1;
            for (int i = 0; i < m_buttons.size(); ++i)
                if (i != index && m_buttons[i] && m_buttons[i]->isChecked())
                    m_before = i;
        }
        // A user's click selects this one and clears the others.
        show(index);
        emit clicked(index);
    });
    return b;
}

void OptionGroup::show(int index)
{
    for (int i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i])
            m_buttons[i]->setChecked(i == index);
}

void OptionGroup::putBack() { show(m_before); }

QRadioButton *OptionGroup::button(int index) const
{
    return (index >= 0 && index < m_buttons.size()) ? m_buttons[index] : nullptr;
}

void OptionGroup::select(int index)
{
    QRadioButton *b = button(index);
    if (!b)
        return;
    if (b->isChecked())
        return;
    m_before = selected();
    show(index);
    emit clicked(index);
}

int OptionGroup::selected() const
{
    for (int i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i] && m_buttons[i]->isChecked())
            return i;
    return -1;
}

// ---- check boxes ----

CheckBox::CheckBox(const QString &name, const QString &text, QWidget *parent) : QCheckBox(text, parent)
{
    setObjectName(name);
    connect(this, &QCheckBox::clicked, this, [this] { emit clickedValue(value()); });
}

void CheckBox::setValue(int v)
{
    const bool on = v != 0;
    if (on == isChecked())
        return;
    setChecked(on);
    emit clickedValue(value());
}

// ---- scroll bars ----

VScroll::VScroll(const QString &name, QWidget *parent) : QScrollBar(Qt::Vertical, parent)
{
    setObjectName(name);
    setTracking(false); // the change handling runs when the thumb is let go
    // Qt's arrows and page areas act by their place (the upper ones lower the
    // value) whatever the appearance. A bar with its larger value at the top
    // turns every step round, so the upper arrow and page area move the value
    // towards the top value, as the keys and the wheel do.
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (m_top <= m_bottom)
            return;
        switch (action) {
        case SliderSingleStepAdd: setSliderPosition(value() - singleStep()); break;
        case SliderSingleStepSub: setSliderPosition(value() + singleStep()); break;
        case SliderPageStepAdd: setSliderPosition(value() - pageStep()); break;
        case SliderPageStepSub: setSliderPosition(value() + pageStep()); break;
        default: break;
        }
    });
}

void VScroll::setEnds(int top, int bottom)
{
    m_top = top;
    m_bottom = bottom;
    setInvertedAppearance(top > bottom);
    // With the steps turned round above, the keys need the inverted controls
    // to end up towards the top too; the wheel is handled on its own.
    setInvertedControls(top > bottom);
    setRange(qMin(top, bottom), qMax(top, bottom));
}

void VScroll::showValue(int v)
{
    {
        const QSignalBlocker quiet(this);
        setValue(v);
    }
    m_taken = value();
}

void VScroll::putBackTaken()
{
    const QSignalBlocker quiet(this);
    setValue(m_taken);
}

void VScroll::wheelEvent(QWheelEvent *ev)
{
    // The wheel moves the value directly (no step action), so it is right
    // without inverted controls: away from the user goes towards the top.
    const bool inv = invertedControls();
    setInvertedControls(false);
    QScrollBar::wheelEvent(ev);
    setInvertedControls(inv);
}

// ---- spin button ----

SpinButton::SpinButton(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    m_up = new QToolButton(this);
    m_up->setObjectName(name + QStringLiteral("_up"));
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setObjectName(name + QStringLiteral("_down"));
    m_down->setArrowType(Qt::DownArrow);
    lay->addWidget(m_up);
    lay->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, &SpinButton::SpinUp);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::SpinDown);
}

QLabel *makeLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLabel *makeNoteLabel(const QString &name, QWidget *parent)
{
    QLabel *l = makeLabel(name, QString(), parent);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}

QGroupBox *makeFrame(const QString &name, const QString &caption, QWidget *parent)
{
    auto *g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    return g;
}

QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QComboBox *makeEntryCombo(const QString &name, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    // An editable combo completes typed text from its items by default:
    // "6" typed as a bound would become "6.2" from the list.
    c->setCompleter(nullptr);
    return c;
}

QPushButton *arrayButton(const QString &base, int index, const QString &caption, QWidget *parent)
{
    return makeButton(base + QLatin1Char('(') + QString::number(index) + QLatin1Char(')'), caption, parent);
}

QPushButton *makePanelButton(const QString &name, const QString &caption, QWidget *parent)
{
    QPushButton *b = makeButton(name, caption, parent);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QPushButton *panelButton(const QString &base, int index, const QString &caption, QWidget *parent)
{
    return makePanelButton(base + QLatin1Char('(') + QString::number(index) + QLatin1Char(')'), caption, parent);
}

QPushButton *colouredButton(const QString &name, const QString &caption, unsigned bbggrr, QWidget *parent)
{
    QPushButton *b = makePanelButton(name, caption, parent);
    setBackColor(b, bbggrr);
    return b;
}

VScroll *makeBar(const QString &name, int top, int bottom, int small, int large, QWidget *parent)
{
    auto *v = new VScroll(name, parent);
    v->setEnds(top, bottom);
    v->setSmallChange(small);
    v->setLargeChange(large);
    v->setMinimumHeight(kBarHeight);
    return v;
}

VScroll *makePanelBar(const QString &name, int top, int bottom, int small, int large, QWidget *parent)
{
    VScroll *v = makeBar(name, top, bottom, small, large, parent);
    v->setFocusPolicy(Qt::NoFocus);
    return v;
}

} // namespace tav
