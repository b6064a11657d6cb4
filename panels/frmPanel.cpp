#include "panels/frmPanel.h"
#include "drivers/receiver.h"
#include "core/setupdata.h"

#include "core/links.h"


#include "core/exchange.h"
#include "hub/frmWelcome.h"
#include "core/mousewheel.h"
#include "core/numtext.h"
#include "panels/mainmenu.h"

#include <QApplication>
#include <algorithm>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

namespace tav {

namespace {


// Whole thousandths, halves to even, kept in double so that absurd texts
// cannot overflow an integer.
double roundEven(double v) { return std::isfinite(v) ? std::nearbyint(v) : 0.0; }

} // namespace

frmPanel::frmPanel(WindowId id, const PanelTraits &traits)
    : TavForm(id), m_traits(traits)
{
    // A panel is kept between Go's; each Go must find it as designed.
    setRestoresDesign(true);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 0, 4, 4);
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName(QStringLiteral("mnuBar"));
    mnuBar->setNativeMenuBar(false);
    outer->setMenuBar(mnuBar);
    mnuDirect = addDirectMenu(mnuBar);

    auto *row = new QHBoxLayout;
    outer->addLayout(row);

    auto *fraFreq = new QGroupBox(this);
    fraFreq->setObjectName(QStringLiteral("fraFreqA"));
    auto *grid = new QGridLayout(fraFreq);
    row->addWidget(fraFreq);

    txtFrequencyA = new QLineEdit(fraFreq);
    txtFrequencyA->setObjectName(QStringLiteral("txtFrequencyA"));
    txtFrequencyA->setMouseTracking(true);
    txtFrequencyA->setAlignment(Qt::AlignRight);
    QFont ff = txtFrequencyA->font();
    ff.setPointSize(ff.pointSize() + 8);
    ff.setBold(true);
    txtFrequencyA->setFont(ff);
    txtFrequencyA->setMinimumWidth(180);
    txtFrequencyA->installEventFilter(this);
    grid->addWidget(txtFrequencyA, 0, 0, 1, 4);

    lblMfreq = makeLabel(QStringLiteral("lblMfreq"), QString(), fraFreq);
    lblMfreq->setFrameShape(QFrame::Panel);
    lblMfreq->setFrameShadow(QFrame::Sunken);
    lblMfreq->setMinimumHeight(22);
    grid->addWidget(lblMfreq, 1, 0, 1, 4);

    // Keypad: 7 8 9 / 4 5 6 / 1 2 3 / 0 . <-
    for (int i = 0; i < 10; ++i) {
        cmd0to9[i] = makePanelButton(QStringLiteral("cmd0to9(%1)").arg(i), QString::number(i), fraFreq);
        connect(cmd0to9[i], &QPushButton::clicked, this, [this, i] { cmd0to9_Click(i); });
        if (i == 0)
            grid->addWidget(cmd0to9[i], 5, 0);
        else
            grid->addWidget(cmd0to9[i], 4 - (i - 1) / 3, (i - 1) % 3);
    }
    cmdDot = makePanelButton(QStringLiteral("cmdDot"), QStringLiteral("."), fraFreq);
    cmdBack = makePanelButton(QStringLiteral("cmdBack"), QStringLiteral("<-"), fraFreq);
    grid->addWidget(cmdDot, 5, 1);
    grid->addWidget(cmdBack, 5, 2);
    cmdEnterfreq = makePanelButton(QStringLiteral("cmdEnterfreq"), QLatin1String(m_traits.enterCaptions[0]), fraFreq);
    cmdEnterMem = makePanelButton(QStringLiteral("cmdEnterMem"), QLatin1String(m_traits.enterCaptions[1]), fraFreq);
    cmdEnterS = makePanelButton(QStringLiteral("cmdEnterS"), QLatin1String(m_traits.enterCaptions[2]), fraFreq);
    grid->addWidget(cmdEnterfreq, 2, 3);
    grid->addWidget(cmdEnterMem, 3, 3);
    grid->addWidget(cmdEnterS, 4, 3);
    cmdEnterMem->setVisible(m_traits.hasEnterMem);

    cmbFreqstep = makeEntryCombo(QStringLiteral("cmbFreqstep"), fraFreq);
    grid->addWidget(cmbFreqstep, 6, 0, 1, 2);
    spnFreqstep = new SpinButton(QStringLiteral("spnFreqstep"), fraFreq);
    grid->addWidget(spnFreqstep, 6, 2);
    cmdfreqstep[0] = makePanelButton(QStringLiteral("cmdfreqstep(0)"), QStringLiteral("<"), fraFreq);
    cmdfreqstep[1] = makePanelButton(QStringLiteral("cmdfreqstep(1)"), QStringLiteral(">"), fraFreq);
    grid->addWidget(cmdfreqstep[0], 7, 0);
    grid->addWidget(cmdfreqstep[1], 7, 1);
    cmdMovefreq = makePanelButton(QStringLiteral("cmdMovefreq"), QStringLiteral("GO"), fraFreq);
    grid->addWidget(cmdMovefreq, 7, 2);
    lblInt5 = new ClickLabel(QStringLiteral("lblInt5"), QStringLiteral("i 5"), fraFreq);
    lbnInt1 = new ClickLabel(QStringLiteral("lbnInt1"), QStringLiteral("i 1"), fraFreq);
    grid->addWidget(lblInt5, 6, 3);
    grid->addWidget(lbnInt1, 7, 3);
    cmdClose = makePanelButton(QStringLiteral("cmdClose"), QStringLiteral("Close"), fraFreq);
    grid->addWidget(cmdClose, 8, 0, 1, 4);

    m_modelArea = new QWidget(this);
    m_modelArea->setObjectName(QStringLiteral("modelArea"));
    row->addWidget(m_modelArea, 1);

    tmrMovefreq.setObjectName(QStringLiteral("tmrMovefreq"));
    tmrMovefreq.setInterval(0); // no pause: the serial writes set the pace

    connect(cmdDot, &QPushButton::clicked, this, &frmPanel::cmdDot_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmPanel::cmdBack_Click);
    connect(cmdEnterfreq, &QPushButton::clicked, this, &frmPanel::cmdEnterfreq_Click);
    connect(cmdEnterMem, &QPushButton::clicked, this, &frmPanel::cmdEnterMem_Click);
    connect(cmdEnterS, &QPushButton::clicked, this, &frmPanel::cmdEnterS_Click);
    connect(spnFreqstep, &SpinButton::SpinDown, this, &frmPanel::spnFreqstep_SpinDown);
    connect(spnFreqstep, &SpinButton::SpinUp, this, &frmPanel::spnFreqstep_SpinUp);
    connect(cmdfreqstep[0], &QPushButton::clicked, this, [this] { cmdfreqstep_Click(0); });
    connect(cmdfreqstep[1], &QPushButton::clicked, this, [this] { cmdfreqstep_Click(1); });
    connect(cmdMovefreq, &QPushButton::clicked, this, &frmPanel::cmdMovefreq_Click);
    connect(&tmrMovefreq, &QTimer::timeout, this, &frmPanel::tmrMovefreq_Timer);
    connect(lblInt5, &ClickLabel::clicked, this, &frmPanel::lblInt5_Click);
    connect(lbnInt1, &ClickLabel::clicked, this, &frmPanel::lbnInt1_Click);
    connect(txtFrequencyA, &QLineEdit::returnPressed, this, &frmPanel::txtFrequencyA_Enter);
    connect(cmdClose, &QPushButton::clicked, this, &frmPanel::mnuClose_Click);
}

void frmPanel::showReceiverChange(const RxChange &c)
{
    switch (c.what) {
    case RxChange::Frequency: hubFrequencyChanged(c.khz); break;
    case RxChange::Mode: hubModeChanged(c.value); break;
    case RxChange::Bandwidth: hubBandwidthChanged(c.value); break;
    case RxChange::Agc: hubAgcspeedChanged(c.value); break;
    default: break;
    }
}


void frmPanel::setToolEntriesEnabled(const PanelEntries &entries, bool enabled)
{
    if (mnuBar)
        setMenuEntries(mnuBar, entries, enabled);
}

frmPanel::~frmPanel()
{
    if (m_filterInstalled)
        qApp->removeEventFilter(this);
}

// ---- coming up and going away ----

void frmPanel::Form_Load()
{
    // The model's Direct menu, then the tool menus every panel shares.
    m_portReady = false;
    if (mnuDirect->actions().isEmpty()) {
        buildDirectMenu(mnuDirect);
        addMainMenus(mnuBar, this, false);
        noteDesign(mnuBar);
    }

    if (Windows::available(WindowId::frmLast20))
        if (TavForm *l = Windows::get(WindowId::frmLast20))
            l->load();

    if (!m_wheel) {
        m_wheel = Mousewheelinit(this);
        connect(m_wheel, &WheelNotches::wheelNotch, this, [this](int delta) {
            if (wheelarmed)
                step(delta > 0 ? +1 : -1);
        });
    }
    m_wheel->reset();
    wheelarmed = false;
    if (!m_filterInstalled) {
        qApp->installEventFilter(this);
        m_filterInstalled = true;
    }

    G.bwnames = QVector<QString>(m_traits.bwHigh + 1);
    stepdirection = 1;
    movefreqon = 0;
    m_frequencyTaken.clear();
    cmdMovefreq->setText(QStringLiteral("GO"));

    initTablesAndDriver();

    cmbFreqstep->clear();
    for (int i = m_traits.firstStep; i <= 18; ++i)
        cmbFreqstep->addItem(G.freqsteps[i]);

    if (!m_barsWatched) {
        m_barsWatched = true;
        // A bar moved on a lost line, or whose write the receiver did not
        // take, sent nothing: it goes back to the value the receiver has.
        // Connected after the model's own handlers, so it sees whether their
        // write got through.
        for (VScroll *bar : findChildren<VScroll *>()) {
            bar->keepTaken(bar->value());
            connect(bar, &QScrollBar::valueChanged, this, [this, bar](int v) {
                if (!m_barRefused.remove(bar) && !rxPort().lost())
                    bar->keepTaken(v);
                else
                    bar->putBackTaken();
            });
        }
    }

    CommControl &port = rxPort();
    if (!m_portHeard) {
        m_portHeard = true;
        // What the port has to say arrives between exchanges, once each.
        auto tell = [this](const QString &message) {
            if (isLoadedForm())
                msgBox(message, MsgIcon::Exclamation, QStringLiteral("Error"));
        };
        connect(&port, &CommControl::lineLostNotice, this, tell);
        connect(&port, &CommControl::receiverSilent, this, tell);
        // A control used after the loss was told reaches no receiver and
        // changes nothing; the first one says why, once.
        connect(&port, &CommControl::lineClosed, this, tell);
    }
    port.close();
    port.CommPort = settingInt(Setting::ComPort);
    port.Settings = m_traits.lineSettings;
    if (!port.open()) {
        msgBox(QStringList{QStringLiteral("The serial port COM %1 could not be opened:").arg(port.CommPort),
                           port.lastError()},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        unload(); // the welcome screen comes back; nothing stays half-loaded
        return;
    }

    m_portReady = true;
    auto run = readRun();
    modelSetup();

    const int pick = settingInt(Setting::StartStep);
    const int start = (pick >= 0 && pick <= 3) ? G.stepdefaults[size_t(pick)] : G.stepdefaults[0];
    cmbFreqstep->setEditText(QLatin1Char(' ') + QString::number(start));

    readReceiverState();
}

CommControl::ReadRun frmPanel::readRun() { return CommControl::ReadRun(rxPort()); }

void frmPanel::writesOnChange(VScroll *bar, std::function<bool(int)> write)
{
    connect(bar, &QScrollBar::valueChanged, this, [this, bar, write = std::move(write)](int v) {
        if (!write(v))
            m_barRefused.insert(bar);
    });
}

void frmPanel::showFirmware(const std::function<std::optional<QString>()> &read)
{
    const NoAnswer noAnswer;
    if (const std::optional<QString> ident = read())
        msgBox(*ident, MsgIcon::Information, QStringLiteral("Firmware Version"));
    else if (const QStringList said = noAnswer.text({QStringLiteral("The receiver does not answer.")}); !said.isEmpty())
        msgBox(said, MsgIcon::Exclamation, QStringLiteral("Firmware Version"));
}

void frmPanel::Form_Unload()
{
    // After a load that gave up at the port nothing of the model was set up
    // or read, so its unload work (state files, exit mutes) has nothing to do.
    if (m_portReady)
        modelUnload();
    m_portReady = false;
    // Continuous stepping ends here, before the driver goes.
    movefreqon = 0;
    tmrMovefreq.stop();
    cmdMovefreq->setText(QStringLiteral("GO"));
    if (m_filterInstalled) {
        qApp->removeEventFilter(this);
        m_filterInstalled = false;
    }
    wheelarmed = false;
    releaseDriver();
    UnloadTools();
    frmWelcome *w = frmWelcome::instance();
    w->Comm1.close();
    w->showModeless();
}

void frmPanel::mnuClose_Click() { closeAsked(); }

void frmPanel::mnuExit_Click()
{
    // Ends at once: no window's unload work, so no positions are written.
    exitFromPanel();
}

void frmPanel::setAttenuatorFrameEnabled(bool on)
{
    if (auto *fra = findChild<QWidget *>(QStringLiteral("fraAttenuator")))
        fra->setEnabled(on);
}

void frmPanel::setAttenuatorLabelColour(unsigned bbggrr)
{
    if (auto *lbl = findChild<QLabel *>(QStringLiteral("lblAttenuator")))
        setBackColor(lbl, bbggrr);
}

// ---- display ----

void frmPanel::showFrequency(double khz)
{
    const QString text = (khz >= goModel().freqMinKHz && khz <= goModel().freqMaxKHz) ? fixedFormat(khz, 1, m_traits.decimals)
                                                                 : QStringLiteral("?");
    showFrequencyText(text);
    hub().distributefreqa(text, khz);
}

void frmPanel::showFrequencyText(const QString &text)
{
    m_frequencyTaken = text;
    txtFrequencyA->setText(text);
}

// ---- keypad ----

void frmPanel::cmd0to9_Click(int index) { lblMfreq->setText(lblMfreq->text() + QString::number(index)); }
void frmPanel::cmdDot_Click() { lblMfreq->setText(lblMfreq->text() + QLatin1Char('.')); }

void frmPanel::cmdBack_Click()
{
    QString t = lblMfreq->text();
    if (!t.isEmpty()) {
        t.chop(1);
        lblMfreq->setText(t);
    }
}

void frmPanel::cmdEnterfreq_Click()
{
    cmdEnterfreq->setEnabled(false);
    const double f = numericValue(lblMfreq->text());
    if (f >= goModel().freqMinKHz && f <= goModel().freqMaxKHz)
        setDriverFrequency(f);
    else
        msgBox(m_traits.enterFreqMessage, MsgIcon::Exclamation, QStringLiteral("Error"));
    lblMfreq->setText(QString());
    cmdEnterfreq->setEnabled(true);
}

void frmPanel::cmdEnterMem_Click()
{
    if (m_traits.enterMemGreys)
        cmdEnterMem->setEnabled(false);
    const QString entry = lblMfreq->text();
    // Wide and checked before use: "123456" must not wrap into a valid cell.
    const double n = roundEven(numericValue(entry));
    if (!entry.isEmpty() && n >= 0 && n <= goModel().lastCell)
        recallMemory(int(n));
    else
        msgBox(m_traits.enterMemMessage, MsgIcon::Exclamation, QStringLiteral("Error"));
    lblMfreq->setText(QString());
    if (m_traits.enterMemGreys)
        cmdEnterMem->setEnabled(true);
}

void frmPanel::cmdEnterS_Click()
{
    cmdEnterS->setEnabled(false);
    const QString entry = lblMfreq->text();
    const double s = numericValue(entry);
    if (s > 100 || s < m_traits.smallestStep) {
        msgBox(QStringList{QStringLiteral("Frequency Stepsize"), QStringLiteral("outside range")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        cmbFreqstep->setEditText(QStringLiteral("5"));
    } else {
        cmbFreqstep->setEditText(entry);
    }
    lblMfreq->setText(QString());
    cmdEnterS->setEnabled(true);
}

// ---- stepping ----

std::optional<double> frmPanel::shownKHz() const
{
    const QString t = txtFrequencyA->text().trimmed();
    const bool number = !t.isEmpty() && (t[0].isDigit() || (t[0] == QLatin1Char('.') && t.size() > 1 && t[1].isDigit()));
    if (!number)
        return std::nullopt;
    return numericValue(t);
}

void frmPanel::step(int direction)
{
    stepdirection = int16_t(direction);
    // "?" (a receiver that did not answer) or an emptied box is no frequency
    // to step from: read as 0 kHz, one step would tune the bottom of the range.
    const std::optional<double> now = shownKHz();
    if (!now)
        return;
    G.last20record = links::recordsFreqSteps();
    spnFreqstep->setEnabled(false);
    const double stepHz = roundEven(numericValue(cmbFreqstep->currentText()) * 1000);
    const double nowHz = std::floor(*now * 1000 + 0.49);
    double f = (direction < 0 ? nowHz - stepHz : nowHz + stepHz) / 1000;
    // Both limits, whatever the direction: a step must never tune outside the
    // receiver's range (a box showing more than the top would step down to an
    // untunable frequency).
    if (!(f >= goModel().freqMinKHz))
        f = goModel().freqMinKHz;
    if (f > goModel().freqMaxKHz)
        f = goModel().freqMaxKHz;
    // A step that never reached the receiver records nothing: the next
    // frequency that does goes into the last-20 list as usual.
    if (!setDriverFrequency(f))
        G.last20record = true;
    txtFrequencyA->repaint();
    spnFreqstep->setEnabled(true);
}

void frmPanel::spnFreqstep_SpinDown() { step(-1); }
void frmPanel::spnFreqstep_SpinUp() { step(+1); }

void frmPanel::cmdfreqstep_Click(int index)
{
    if (index < 0 || index > 1)
        return;
    cmdfreqstep[index]->setEnabled(false);
    step(index == 0 ? -1 : +1);
    cmdfreqstep[index]->setEnabled(true);
}

void frmPanel::cmdMovefreq_Click()
{
    movefreqon = int16_t(1 - movefreqon);
    cmdMovefreq->setText(movefreqon == 1 ? QStringLiteral("Stop") : QStringLiteral("GO"));
    movefreqChanged(movefreqon);
    if (movefreqon == 1)
        tmrMovefreq.start();
    else
        tmrMovefreq.stop();
}

void frmPanel::stopStepping()
{
    if (movefreqon != 1)
        return;
    movefreqon = 0;
    cmdMovefreq->setText(QStringLiteral("GO"));
    tmrMovefreq.stop();
    movefreqChanged(0);
}

void frmPanel::tmrMovefreq_Timer()
{
    if (movefreqon != 1 || !isLoadedForm()) {
        tmrMovefreq.stop();
        return;
    }
    if (Exchange::active())
        return; // another exchange is under way: the next tick steps
    // Steps on a lost line reach no receiver, and steps from an unknown
    // frequency are not made: either way the run is over, or it would only
    // spin (or run the box to the end of the range while nothing is tuned).
    if (rxPort().lost() || !shownKHz()) {
        stopStepping();
        return;
    }
    step(stepdirection < 0 ? -1 : +1);
}

// ---- rounding labels and the frequency box ----

void frmPanel::lblInt5_Click()
{
    const double f = numericValue(txtFrequencyA->text());
    hub().Change2FreqA(std::floor((f + 2.5) / 5) * 5);
}

void frmPanel::lbnInt1_Click()
{
    const double f = numericValue(txtFrequencyA->text());
    hub().Change2FreqA(std::floor(f + 0.5));
}

void frmPanel::txtFrequencyA_Enter()
{
    const double f = numericValue(txtFrequencyA->text());
    if (f >= goModel().freqMinKHz && f <= goModel().freqMaxKHz) {
        // An entry the receiver did not take (a lost line, a receiver in
        // local) must not stay in the box as if it were tuned there.
        if (!setDriverFrequency(f))
            txtFrequencyA->setText(m_frequencyTaken);
    } else {
        txtFrequencyA->setText(QString());
        msgBox(QStringLiteral("Frequency outside range"), MsgIcon::Exclamation, QStringLiteral("Input Error"));
    }
}

void frmPanel::txtFrequencyA_DblClick() { txtFrequencyA->setText(QString()); }

// ---- the key map ----

frmPanel::Modifier frmPanel::exactModifier(Qt::KeyboardModifiers mods)
{
    mods &= (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::NoModifier)
        return ModNone;
    if (mods == Qt::ShiftModifier)
        return ModShift;
    if (mods == Qt::ControlModifier)
        return ModCtrl;
    if (mods == Qt::AltModifier)
        return ModAlt;
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier))
        return ModCtrlShift;
    return ModOther;
}

int frmPanel::physicalKeyCode(const QKeyEvent *ev)
{
    const int key = ev->key();
    switch (key) {
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_Backspace: return KeyBack;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F8)
        return KeyF1 + (key - Qt::Key_F1);
    // The numeric keypad's keys are other keys than the main keyboard's.
    if (ev->modifiers() & Qt::KeypadModifier)
        return 0;
    // On X11 and Wayland the scan code is the XKB key code of the key's
    // position, so digits, "=", "-", "." and letters are found whatever the
    // layout and whatever Shift makes of them.
    const quint32 sc = ev->nativeScanCode();
    if (sc >= 10 && sc <= 18)
        return Key0 + int(sc - 9);
    switch (sc) {
    case 19: return Key0;
    case 20: return KeyMinus;
    case 21: return KeyEqual;
    case 60: return KeyPeriod;
    case 22: return KeyBack;
    default: break;
    }
    // Letters are the letter the key types in the user's layout (Shift+A on
    // a French keyboard is A, not the Q of the key's place on a US one); only
    // a layout without Latin letters falls back to the key's place.
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return KeyA + (key - Qt::Key_A);
    static const char rowQ[] = "QWERTYUIOP", rowA[] = "ASDFGHJKL", rowZ[] = "ZXCVBNM";
    if (sc >= 24 && sc <= 33)
        return rowQ[sc - 24];
    if (sc >= 38 && sc <= 46)
        return rowA[sc - 38];
    if (sc >= 52 && sc <= 58)
        return rowZ[sc - 52];
    // No scan code (synthesised events): the key, with what Shift puts on the
    // digit and punctuation keys of the usual layout taken back to the key.
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return Key0 + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return KeyA + (key - Qt::Key_A);
    switch (key) {
    case Qt::Key_ParenRight: return Key0;
    case Qt::Key_Exclam: return Key0 + 1;
    case Qt::Key_At: return Key0 + 2;
    case Qt::Key_NumberSign: return Key0 + 3;
    case Qt::Key_Dollar: return Key0 + 4;
    case Qt::Key_Percent: return Key0 + 5;
    case Qt::Key_AsciiCircum: return Key0 + 6;
    case Qt::Key_Ampersand: return Key0 + 7;
    case Qt::Key_Asterisk: return Key0 + 8;
    case Qt::Key_ParenLeft: return Key0 + 9;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return KeyEqual;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return KeyMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater: return KeyPeriod;
    default: return 0;
    }
}

bool frmPanel::keyPreview(int keyCode, Modifier mod)
{
    if (mod == ModNone || mod == ModCtrl) {
        if (keyCode == KeyUp || keyCode == KeyRight) {
            step(+1);
            return true;
        }
        if (keyCode == KeyLeft || keyCode == KeyDown) {
            step(-1);
            return true;
        }
    }
    if (mod == ModCtrl) {
        if (keyCode >= Key0 && keyCode <= Key9) {
            keyentry += QChar(keyCode);
            lblMfreq->setText(keyentry);
            return true;
        }
        switch (keyCode) {
        case KeyPeriod:
            keyentry += QLatin1Char('.');
            lblMfreq->setText(keyentry);
            return true;
        case KeyBack:
            if (!keyentry.isEmpty())
                keyentry.chop(1);
            lblMfreq->setText(keyentry);
            return true;
        case 'F':
            cmdEnterfreq_Click();
            keyentry.clear();
            return true;
        case 'M':
            if (!m_traits.hasEnterMem)
                break;
            cmdEnterMem_Click();
            keyentry.clear();
            return true;
        case 'S':
            cmdEnterS_Click();
            keyentry.clear();
            return true;
        case 'G':
            cmdMovefreq_Click();
            return true;
        default: break;
        }
    }
    return modelKey(keyCode, mod);
}

bool frmPanel::ownsWidget(QObject *obj) const
{
    return obj && obj->isWidgetType() && static_cast<QWidget *>(obj)->window() == this;
}

bool frmPanel::eventFilter(QObject *obj, QEvent *ev)
{
    switch (ev->type()) {
    case QEvent::KeyPress: {
        // During an exchange the key is held back and comes again afterwards.
        if (Exchange::active() || !isLoadedForm() || !ownsWidget(obj))
            return false;
        auto *ke = static_cast<QKeyEvent *>(ev);
        const int code = physicalKeyCode(ke);
        if (code == 0)
            return false;
        return keyPreview(code, exactModifier(ke->modifiers()));
    }
    case QEvent::MouseMove:
        if (obj == txtFrequencyA) {
            const QPointF p = static_cast<QMouseEvent *>(ev)->position();
            const double tw = twipsPerPixel();
            const double x = p.x() * tw, y = p.y() * tw;
            wheelarmed = x > 150 && x < txtFrequencyA->width() * tw - 150 && y > 75 &&
                         y < txtFrequencyA->height() * tw - 75;
        }
        return false;
    case QEvent::Leave:
        if (obj == txtFrequencyA)
            wheelarmed = false;
        return false;
    case QEvent::MouseButtonDblClick:
        if (obj == txtFrequencyA)
            txtFrequencyA_DblClick();
        return false;
    default: return false;
    }
}

// ---- menu ----

QAction *frmPanel::addMenuEntry(QMenu *menu, const QString &name, const QString &caption, std::function<void()> fn)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
    return a;
}

std::optional<int> frmPanel::barKey(int keyCode, int value, int step, int lo, int hi)
{
    if (keyCode == KeyEqual)
        return std::min(value + step, hi);
    if (keyCode == KeyMinus)
        return std::max(value - step, lo);
    if (keyCode == Key0)
        return 0;
    return std::nullopt;
}

} // namespace tav
