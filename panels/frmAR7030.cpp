#include "panels/frmAR7030.h"
#include "core/setupdata.h"

#include "core/comm.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "drivers/ar7030conv.h"
#include "panels/mainmenu.h"

#include "core/ui.h"
#include "drivers/clsAR7030.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

namespace {

frmPanel::PanelTraits ar7030Traits()
{
    frmPanel::PanelTraits t;
    t.firstStep = 3;
    t.decimals = 2;
    t.smallestStep = 0.01;
    t.enterFreqMessage = {QStringLiteral("Frequency"), QStringLiteral("outside range")};
    t.enterMemMessage = {QStringLiteral("Memory cell"), QStringLiteral("outside range")};
    t.bwLow = 0;
    t.bwHigh = 6;
    t.lineSettings = QStringLiteral("1200,N,8,1");
    t.hasEnterMem = true;
    return t;
}



} // namespace

frmAR7030::frmAR7030() : frmPanel(windowId, ar7030Traits())
{
    setWindowTitle(QStringLiteral("AR7030"));
    cmdClose->setToolTip(QStringLiteral("Exit program"));
    if (auto *fra = findChild<QGroupBox *>(QStringLiteral("fraFreqA")))
        fra->setTitle(QStringLiteral("Freq A : 10 k - 32 M"));

    auto *area = modelArea();
    auto *lay = new QHBoxLayout(area);
    lay->setContentsMargins(0, 0, 0, 0);

    auto *fraLF = makeFrame("fraLF", "Bas- Vol- Trb -- LL-- LR", area);
    auto *lf = new QGridLayout(fraLF);
    vsbBass = barWithLabel("vsbBass", 8, -8, 1, 2, lblBass, "lblBass", fraLF);
    vsbVolume = barWithLabel("vsbVolume", 99, 0, 2, 10, lblVolume, "lblVolume", fraLF);
    vsbTreble = barWithLabel("vsbTreble", 8, -8, 1, 2, lblTreble, "lblTreble", fraLF);
    vsbLineL = barWithLabel("vsbLineL", 99, 0, 2, 10, lblLineL, "lblLineL", fraLF);
    vsbLineR = barWithLabel("vsbLineR", 99, 0, 2, 10, lblLineR, "lblLineR", fraLF);
    int col = 0;
    for (auto [bar, label] : {std::pair{vsbBass, lblBass}, {vsbVolume, lblVolume}, {vsbTreble, lblTreble},
                              {vsbLineL, lblLineL}, {vsbLineR, lblLineR}}) {
        lf->addWidget(bar, 0, col);
        lf->addWidget(label, 1, col++);
    }
    lblMute = new ClickLabel(QStringLiteral("lblMute"), QStringLiteral("Mute"), fraLF);
    lblMute->setAlignment(Qt::AlignCenter);
    lf->addWidget(lblMute, 2, 0, 1, 5);
    lay->addWidget(fraLF);

    fraMode = makeFrame("fraMode", "Md", area);
    auto *md = new QVBoxLayout(fraMode);
    static const char *modes[] = {"AM", "Sync", "NFM", "Data", "CW", "LSB", "USB"};
    for (int i = 0; i < 7; ++i) {
        cmdMode[i] = panelButton(QStringLiteral("cmdMode"), i, QLatin1String(modes[i]), fraMode);
        md->addWidget(cmdMode[i]);
        connect(cmdMode[i], &QPushButton::clicked, this, [this, i] { cmdMode_Click(i); });
    }
    lblMode = makeLabel(QStringLiteral("lblMode"), QString(), fraMode);
    md->addWidget(lblMode);
    lay->addWidget(fraMode);

    auto *fraAgc = makeFrame("fraAgcspeed", "Agc - Ifg -Sql -Bfo", area);
    auto *ag = new QGridLayout(fraAgc);
    static const char *agcs[] = {"Fst", "Med", "Slw", "Off"};
    for (int i = 0; i < 4; ++i) {
        cmdAgcspeed[i] = panelButton(QStringLiteral("cmdAgcspeed"), i, QLatin1String(agcs[i]), fraAgc);
        ag->addWidget(cmdAgcspeed[i], i, 0);
        connect(cmdAgcspeed[i], &QPushButton::clicked, this, [this, i] { cmdAgcspeed_Click(i); });
    }
    lblAgcspeed = makeLabel(QStringLiteral("lblAgcspeed"), QString(), fraAgc);
    ag->addWidget(lblAgcspeed, 4, 0);
    vsbIfgain = barWithLabel("vsbIfgain", 99, 0, 2, 10, lblIfgain, "lblIfgain", fraAgc);
    vsbSquelch = barWithLabel("vsbSquelch", 99, 0, 2, 10, lblSquelch, "lblSquelch", fraAgc);
    vsbBeatfreqosc = barWithLabel("vsbBeatfreqosc", 42, -42, 1, 4, lblBeatfreqosc, "lblBeatfreqosc", fraAgc);
    col = 1;
    for (auto [bar, label] : {std::pair{vsbIfgain, lblIfgain}, {vsbSquelch, lblSquelch},
                              {vsbBeatfreqosc, lblBeatfreqosc}}) {
        ag->addWidget(bar, 0, col, 4, 1);
        ag->addWidget(label, 4, col++);
    }
    lay->addWidget(fraAgc);

    auto *fraBw = makeFrame("fra_filters", "Bw - Pbs", area);
    auto *bw = new QGridLayout(fraBw);
    for (int i = 0; i < 6; ++i) {
        cmdBandwidth[i] = panelButton(QStringLiteral("cmdBandwidth"), i, QString(), fraBw);
        bw->addWidget(cmdBandwidth[i], i, 0);
        connect(cmdBandwidth[i], &QPushButton::clicked, this, [this, i] { cmdBandwidth_Click(i); });
    }
    lblBandwidth = makeLabel(QStringLiteral("lblBandwidth"), QString(), fraBw);
    bw->addWidget(lblBandwidth, 6, 0);
    vsbPassbandshift = barWithLabel("vsbPassbandshift", 42, -42, 1, 4, lblPassbandshift, "lblPassbandshift", fraBw);
    bw->addWidget(vsbPassbandshift, 0, 1, 6, 1);
    bw->addWidget(lblPassbandshift, 6, 1);
    lay->addWidget(fraBw);

    auto *right = new QVBoxLayout;
    auto *fraAtt = makeFrame("fraAttenuator", "Att", area);
    auto *at = new QVBoxLayout(fraAtt);
    static const char *atts[] = {"+10", "0", "-10", "-20", "-30", "-40"};
    for (int i = 0; i < 6; ++i) {
        cmdAttenuator[i] = panelButton(QStringLiteral("cmdAttenuator"), i, QLatin1String(atts[i]), fraAtt);
        at->addWidget(cmdAttenuator[i]);
        connect(cmdAttenuator[i], &QPushButton::clicked, this, [this, i] { cmdAttenuator_Click(i); });
    }
    lblAttenuator = makeLabel(QStringLiteral("lblAttenuator"), QString(), fraAtt);
    at->addWidget(lblAttenuator);
    right->addWidget(fraAtt);
    cmdPowerOnOff = makePanelButton(QStringLiteral("cmdPowerOnOff"), QStringLiteral("Pwr"), area);
    right->addWidget(cmdPowerOnOff);
    lay->addLayout(right);

    // A bar's change handling writes its setting, whoever moved it; with no
    // driver (not loaded) there is nothing to write and nothing to put back.
    writesOnChange(vsbVolume, [this](int v) { return !AR7030A || AR7030A->setVolume(v); });
    // A line level the receiver took stands in for the set-up's still to be sent.
    const auto lineLevel = [this](int side, bool (clsAR7030::*set)(int)) {
        return [this, side, set](int v) {
            if (!AR7030A)
                return true;
            const bool taken = (AR7030A.get()->*set)(v);
            if (taken)
                m_lineLevelPending[size_t(side)] = false;
            return taken;
        };
    };
    writesOnChange(vsbLineL, lineLevel(0, &clsAR7030::setLeftauxlevel));
    writesOnChange(vsbLineR, lineLevel(1, &clsAR7030::setRightauxlevel));
    writesOnChange(vsbBass, [this](int v) { return !AR7030A || AR7030A->setBass(v); });
    writesOnChange(vsbTreble, [this](int v) { return !AR7030A || AR7030A->setTreble(v); });
    writesOnChange(vsbPassbandshift, [this](int v) { return !AR7030A || AR7030A->setPassBandShift(vsb2b(v)); });
    writesOnChange(vsbBeatfreqosc, [this](int v) { return !AR7030A || AR7030A->setBeatfreqosc(vsb2b(v)); });
    writesOnChange(vsbIfgain, [this](int v) { return !AR7030A || AR7030A->setIfgain(v); });
    writesOnChange(vsbSquelch, [this](int v) { return !AR7030A || AR7030A->setSquelch(sql2b(QString::number(v))); });

    auto zero = [](VScroll *bar) { bar->setValue(0); };
    connect(lblVolume, &ClickLabel::clicked, this, [=, this] { zero(vsbVolume); });
    connect(lblLineL, &ClickLabel::clicked, this, [=, this] { zero(vsbLineL); });
    connect(lblLineR, &ClickLabel::clicked, this, [=, this] { zero(vsbLineR); });
    connect(lblBass, &ClickLabel::clicked, this, [=, this] { zero(vsbBass); });
    connect(lblTreble, &ClickLabel::clicked, this, [=, this] { zero(vsbTreble); });
    connect(lblPassbandshift, &ClickLabel::clicked, this, [=, this] {
        if (vsbPassbandshift->isEnabled())
            zero(vsbPassbandshift);
    });
    connect(lblBeatfreqosc, &ClickLabel::clicked, this, [=, this] {
        if (vsbBeatfreqosc->isEnabled())
            zero(vsbBeatfreqosc);
    });
    connect(lblMute, &ClickLabel::clicked, this, &frmAR7030::lblMute_Click);
    connect(cmdPowerOnOff, &QPushButton::clicked, this, &frmAR7030::cmdPowerOnOff_Click);
}

VScroll *frmAR7030::barWithLabel(const char *name, int top, int bottom, int small, int large, ClickLabel *&label,
                            const char *labelName, QWidget *parent)
{
    label = new ClickLabel(QLatin1String(labelName), QString(), parent);
    label->setMinimumWidth(kValueLabelWidth);
    return makePanelBar(QLatin1String(name), top, bottom, small, large, parent);
}

// ---- converters ----

QString frmAR7030::b2fs(int b) { return ar7030conv::b2fs(b); }
int frmAR7030::fs2b(const QString &text) { return ar7030conv::fs2b(text); }
int frmAR7030::b2vsb(int b) { return ar7030conv::b2vsb(b); }
int frmAR7030::vsb2b(int v) { return ar7030conv::vsb2b(v); }
QString frmAR7030::b2sql(int b) { return ar7030conv::b2sql(b); }
int frmAR7030::sql2b(const QString &text) { return ar7030conv::sql2b(text); }

// ---- load and unload ----

void frmAR7030::initTablesAndDriver()
{
    InitAR7030();
    AR7030A = std::make_unique<clsAR7030>(rxPort());
    clsAR7030 *d = AR7030A.get();
    connect(d, &clsAR7030::PoweronoffChanged, this, &frmAR7030::AR7030A_PoweronoffChanged);
    connect(d, &clsAR7030::AttenuatorChanged, this, &frmAR7030::AR7030A_AttenuatorChanged);
    connect(d, &clsAR7030::BandwidthChanged, this, &frmAR7030::AR7030A_BandwidthChanged);
    connect(d, &clsAR7030::ModeChanged, this, &frmAR7030::AR7030A_ModeChanged);
    connect(d, &clsAR7030::AgcspeedChanged, this, &frmAR7030::AR7030A_AgcspeedChanged);
    connect(d, &clsAR7030::FrequencyAChanged, this, &frmAR7030::AR7030A_FrequencyAChanged);
    connect(d, &clsAR7030::VolumeChanged, this, &frmAR7030::AR7030A_VolumeChanged);
    connect(d, &clsAR7030::BassChanged, this, &frmAR7030::AR7030A_BassChanged);
    connect(d, &clsAR7030::TrebleChanged, this, &frmAR7030::AR7030A_TrebleChanged);
    connect(d, &clsAR7030::PassbandshiftChanged, this, &frmAR7030::AR7030A_PassbandshiftChanged);
    connect(d, &clsAR7030::IfgainChanged, this, &frmAR7030::AR7030A_IfgainChanged);
    connect(d, &clsAR7030::SquelchChanged, this, &frmAR7030::AR7030A_SquelchChanged);
    connect(d, &clsAR7030::BeatfreqoscChanged, this, &frmAR7030::AR7030A_BeatfreqoscChanged);
    connect(d, &clsAR7030::LeftauxlevelChanged, this, &frmAR7030::AR7030A_LeftauxlevelChanged);
    connect(d, &clsAR7030::RightauxlevelChanged, this, &frmAR7030::AR7030A_RightauxlevelChanged);
    mutestate = 0;
    setForeColor(lblMute, kGreen);
    setBackColor(lblMute, 0x800000);
}

void frmAR7030::releaseDriver() { AR7030A.reset(); }

bool frmAR7030::setDriverFrequency(double khz)
{
    return AR7030A && AR7030A->setFrequencyA(khz);
}

void frmAR7030::modelSetup()
{
    m_filtersKnown = m_firmwareKnown = m_powerKnown = m_firmwareTold = false;
    readFittedFilters();
    readFirmwareNumber();
    m_lineLevelPending = {true, true};
    sendLineLevels();
    if (setting(Setting::Ar7030LineBarsOff) == 1)
        setLineLevelsEnabled(false);
}

void frmAR7030::sendLineLevels()
{
    // Each level is written into a byte it shares, after reading that byte:
    // a silent receiver takes neither, and both go out at a later update.
    if (m_lineLevelPending[0]) {
        if (!AR7030A->setLeftauxlevel(settingInt(Setting::Ar7030LineLevelL)))
            return;
        m_lineLevelPending[0] = false;
    }
    if (m_lineLevelPending[1] && AR7030A->setRightauxlevel(settingInt(Setting::Ar7030LineLevelR)))
        m_lineLevelPending[1] = false;
}

void frmAR7030::readFittedFilters()
{
    QStringList widths;
    for (int i = 1; i <= 6; ++i) {
        widths << AR7030A->Installedfilter(i);
        // Unanswered slots would read as no filter fitted: the buttons stay
        // as they are until a later update hears the receiver.
        if (!AR7030A->lastReadOk())
            return;
    }
    for (int i = 1; i <= 6; ++i) {
        const QString &w = widths[i - 1];
        G.bwnames[i] = w;
        QPushButton *b = cmdBandwidth[size_t(i - 1)];
        if (numericValue(w) <= 0) {
            b->setEnabled(false);
        } else {
            b->setEnabled(true);
            b->setText(w);
        }
    }
    m_filtersKnown = true;
}

void frmAR7030::readFirmwareNumber()
{
    bool answered = false;
    const QString ident = AR7030A->Firmware(&answered);
    if (!answered)
        return; // the read run tells of the silence; a later update asks again
    const int number = int(roundHalfEven(numericValue(ident.mid(5, 2))));
    if (number > 0) {
        G.ar7030fw = int16_t(number);
        m_firmwareKnown = true;
        return;
    }
    // The routine a setting needs depends on the firmware: without it some
    // settings would not take effect, so the user hears it once.
    if (m_firmwareTold)
        return;
    m_firmwareTold = true;
    msgBox(QStringList{QStringLiteral("The receiver's firmware version could not be read,"),
                       QStringLiteral("so some settings may not take effect."),
                       QStringLiteral("Close the panel and press Go to connect again.")},
           MsgIcon::Exclamation, QStringLiteral("Firmware Version"));
}

void frmAR7030::readPower()
{
    const int on = AR7030A->PowerOnOff();
    if (!AR7030A->lastReadOk())
        return;
    AR7030A_PoweronoffChanged(on);
    m_powerKnown = true;
}

void frmAR7030::readReceiverState()
{
    readPower();
    RxUpdatefull();
}

// ---- display handlers ----

void frmAR7030::AR7030A_PoweronoffChanged(int v) { setBackColor(cmdPowerOnOff, v == 1 ? 0xFF00 : 0x888888); }

void frmAR7030::AR7030A_AttenuatorChanged(int v)
{
    lblAttenuator->setText(v >= 0 && v <= 5 ? numDouble(10 - 10 * v) : QStringLiteral("?"));
}

void frmAR7030::AR7030A_BandwidthChanged(int v)
{
    lblBandwidth->setText(v >= 1 && v <= 6 && v < G.bwnames.size() ? G.bwnames[v] : QStringLiteral("?"));
}

void frmAR7030::AR7030A_ModeChanged(int v)
{
    lblMode->setText(v >= 1 && v <= 7 ? G.modenames[size_t(v)] : QStringLiteral("?"));
    if (v < 1 || v > 7)
        return;
    // Whoever changed the mode (a button, a list click, a timer), the shift
    // and BFO controls show whether the new mode uses them.
    setForeColor(lblPassbandshift, v == 3 ? kLightYellow : kBlue);
    vsbPassbandshift->setEnabled(v != 3);
    const bool bfo = rxModel(1).keepsBfo(v);
    setForeColor(lblBeatfreqosc, bfo ? kBlue : kLightYellow);
    vsbBeatfreqosc->setEnabled(bfo);
}

void frmAR7030::AR7030A_AgcspeedChanged(int v)
{
    lblAgcspeed->setText(v >= 0 && v <= 3 ? G.agcnames[size_t(v)] : QStringLiteral("?"));
}

void frmAR7030::AR7030A_FrequencyAChanged(double khz) { showFrequency(khz); }

namespace {
// A level bar 0..99 with its two-digit label.
void showLevel(VScroll *bar, QLabel *label, int v)
{
    if (v < 0 || v > 99) {
        label->setText(QStringLiteral("?"));
        return;
    }
    bar->showValue(v);
    label->setText(padded(v, 2));
}
void showTone(VScroll *bar, QLabel *label, int v)
{
    if (v < -8 || v > 8) {
        label->setText(QStringLiteral("?"));
        return;
    }
    bar->showValue(v);
    label->setText(numDouble(v));
}
void showShift(VScroll *bar, QLabel *label, int v)
{
    if (v < 0 || v > 255) {
        label->setText(QStringLiteral("?"));
        return;
    }
    label->setText(ar7030conv::b2fs(v));
    bar->showValue(ar7030conv::b2vsb(v));
}
} // namespace

void frmAR7030::AR7030A_VolumeChanged(int v) { showLevel(vsbVolume, lblVolume, v); }
void frmAR7030::AR7030A_LeftauxlevelChanged(int v) { showLevel(vsbLineL, lblLineL, v); }
void frmAR7030::AR7030A_RightauxlevelChanged(int v) { showLevel(vsbLineR, lblLineR, v); }
void frmAR7030::AR7030A_BassChanged(int v) { showTone(vsbBass, lblBass, v); }
void frmAR7030::AR7030A_TrebleChanged(int v) { showTone(vsbTreble, lblTreble, v); }
void frmAR7030::AR7030A_PassbandshiftChanged(int v) { showShift(vsbPassbandshift, lblPassbandshift, v); }
void frmAR7030::AR7030A_BeatfreqoscChanged(int v) { showShift(vsbBeatfreqosc, lblBeatfreqosc, v); }

void frmAR7030::AR7030A_IfgainChanged(int v)
{
    if (v < 0 || v > 99) {
        lblIfgain->setText(QStringLiteral("?"));
        return;
    }
    lblIfgain->setText(padded(v, 2));
    vsbIfgain->showValue(v);
}

void frmAR7030::AR7030A_SquelchChanged(int v)
{
    if (v < 0 || v > 150) {
        lblSquelch->setText(QStringLiteral("?"));
        return;
    }
    const QString t = b2sql(v);
    lblSquelch->setText(t);
    vsbSquelch->showValue(int(numericValue(t)));
}

void frmAR7030::RxUpdatefull()
{
    auto run = readRun();
    if (!AR7030A)
        return;
    // What a load could not read while the receiver was silent is read now.
    if (!m_filtersKnown)
        readFittedFilters();
    if (!m_firmwareKnown)
        readFirmwareNumber();
    if (!m_powerKnown)
        readPower();
    // Before the levels are read, so that their labels show what was sent.
    if (m_lineLevelPending[0] || m_lineLevelPending[1])
        sendLineLevels();
    // A read without an answer shows "?" and leaves its bar where it is.
    auto show = [this](int value, QLabel *label, void (frmAR7030::*handler)(int)) {
        if (AR7030A && AR7030A->lastReadOk())
            (this->*handler)(value);
        else
            label->setText(QStringLiteral("?"));
    };
    show(AR7030A->Attenuator(), lblAttenuator, &frmAR7030::AR7030A_AttenuatorChanged);
    show(AR7030A->Bandwidth(), lblBandwidth, &frmAR7030::AR7030A_BandwidthChanged);
    show(AR7030A->Agcspeed(), lblAgcspeed, &frmAR7030::AR7030A_AgcspeedChanged);
    show(AR7030A->Mode(), lblMode, &frmAR7030::AR7030A_ModeChanged);
    AR7030A_FrequencyAChanged(AR7030A->FrequencyA()); // 0 kHz, shown as "?", when unanswered
    show(AR7030A->Volume(), lblVolume, &frmAR7030::AR7030A_VolumeChanged);
    show(AR7030A->Bass(), lblBass, &frmAR7030::AR7030A_BassChanged);
    show(AR7030A->Treble(), lblTreble, &frmAR7030::AR7030A_TrebleChanged);
    show(AR7030A->Leftauxlevel(), lblLineL, &frmAR7030::AR7030A_LeftauxlevelChanged);
    show(AR7030A->Rightauxlevel(), lblLineR, &frmAR7030::AR7030A_RightauxlevelChanged);
    show(AR7030A->PassBandShift(), lblPassbandshift, &frmAR7030::AR7030A_PassbandshiftChanged);
    show(AR7030A->Ifgain(), lblIfgain, &frmAR7030::AR7030A_IfgainChanged);
    show(AR7030A->Squelch(), lblSquelch, &frmAR7030::AR7030A_SquelchChanged);
    show(AR7030A->Beatfreqosc(), lblBeatfreqosc, &frmAR7030::AR7030A_BeatfreqoscChanged);
}

// ---- buttons, labels, menu ----

void frmAR7030::cmdMode_Click(int index)
{
    if (!AR7030A)
        return;
    fraMode->setEnabled(false);
    // The mode's routine brings its own filter, shift and BFO back: read
    // them, unless the mode never reached the receiver.
    if (AR7030A->setMode(index + 1))
        RxUpdatefull();
    fraMode->setEnabled(true);
}

void frmAR7030::cmdAgcspeed_Click(int index) { if (AR7030A) AR7030A->setAgcspeed(index); }
void frmAR7030::cmdAttenuator_Click(int index) { if (AR7030A) AR7030A->setAttenuator(index); }
void frmAR7030::cmdBandwidth_Click(int index) { if (AR7030A) AR7030A->setBandwidth(index + 1); }

void frmAR7030::cmdPowerOnOff_Click()
{
    if (!AR7030A)
        return;
    // The switch turns round what the receiver reports: without an answer
    // that is unknown, and a guess could switch it off. The silence is told
    // as an update's is.
    auto run = readRun();
    const int on = AR7030A->PowerOnOff();
    if (AR7030A->lastReadOk())
        AR7030A->setPowerOnOff(1 - on);
}

void frmAR7030::lblMute_Click()
{
    const bool lines = setting(Setting::Ar7030LineBarsOff) == 0;
    if (mutestate == 0) {
        // A label showing "?" saves 0.
        const int16_t volume = int16_t(roundHalfEven(numericValue(lblVolume->text())));
        vsbVolume->setValue(0);
        // A volume the line did not take (the bar went back) mutes nothing.
        if (vsbVolume->value() != 0)
            return;
        mutestate = 1;
        setForeColor(lblMute, kRed);
        mutevolume = volume;
        if (lines) {
            muteleft = int16_t(roundHalfEven(numericValue(lblLineL->text())));
            muteright = int16_t(roundHalfEven(numericValue(lblLineR->text())));
            vsbLineL->setValue(0);
            vsbLineR->setValue(0);
        }
    } else {
        vsbVolume->setValue(mutevolume);
        if (vsbVolume->value() != mutevolume)
            return;
        mutestate = 0;
        setForeColor(lblMute, kGreen);
        if (lines) {
            vsbLineL->setValue(muteleft);
            vsbLineR->setValue(muteright);
        }
    }
}

void frmAR7030::setLineLevelsEnabled(bool on)
{
    vsbLineR->setEnabled(on);
    vsbLineL->setEnabled(on);
    lblLineR->setEnabled(on);
    lblLineL->setEnabled(on);
    setting(Setting::Ar7030LineBarsOff) = on ? 0 : 1;
}

void frmAR7030::mnuResetRx_Click() { if (AR7030A) AR7030A->Reset(); }

void frmAR7030::mnuFirmware_Click()
{
    if (!AR7030A)
        return;
    showFirmware([this] { return AR7030A->firmware(); });
}

void frmAR7030::buildDirectMenu(QMenu *m)
{
    addMenuEntry(m, QStringLiteral("mnuUpdate"), QStringLiteral("Update"), [this] { mnuUpdate_Click(); })
        ->setShortcut(Qt::Key_F5);
    addMenuEntry(m, QStringLiteral("mnuResetRx"), QStringLiteral("Reset RX"), [this] { mnuResetRx_Click(); });
    addDirectEntry(m, this, DirectEntry::Setup);
    addMenuEntry(m, QStringLiteral("mnuFirmware"), QStringLiteral("Firmware version"), [this] { mnuFirmware_Click(); });
    addMenuSeparator(m, QStringLiteral("mnuLine11"));
    addDirectEntry(m, this, DirectEntry::Last20);
    addDirectEntry(m, this, DirectEntry::MarkFreqs);
    addDirectEntry(m, this, DirectEntry::Scratchpad);
    addMenuSeparator(m, QStringLiteral("mnuLine12"));
    addMenuEntry(m, QStringLiteral("mnuEnableLL"), QStringLiteral("Enable LL+LR"), [this] { setLineLevelsEnabled(true); });
    addMenuEntry(m, QStringLiteral("mnuDisableLL"), QStringLiteral("Disable LL+LR"), [this] { setLineLevelsEnabled(false); });
    addMenuSeparator(m, QStringLiteral("mnuLine13"));
    addMenuEntry(m, QStringLiteral("mnuPowerOn"), QStringLiteral("Power On"), [this] { if (AR7030A) AR7030A->setPowerOnOff(1); });
    addMenuEntry(m, QStringLiteral("mnuPowerOff"), QStringLiteral("Power Off"), [this] { if (AR7030A) AR7030A->setPowerOnOff(0); });
    addMenuSeparator(m, QStringLiteral("mnuLine14"));
    addDirectEntry(m, this, DirectEntry::Close);
    addDirectEntry(m, this, DirectEntry::Exit);
}

// ---- memory recall ----

void frmAR7030::recallMemory(int n)
{
    if (!AR7030A)
        return;
    const NoAnswer noAnswer;
    bool answered = true;
    const QString rec = AR7030A->Memory(n, &answered);
    const QString cell = padded(n, 3);
    // Nothing is sent for a channel the receiver did not report, an empty
    // one, or one whose mode is no mode; the user hears which.
    if (!answered || rec.size() < 32) {
        const QStringList said = noAnswer.text(
            {QStringLiteral("The receiver did not answer"), QStringLiteral("when memory cell %1 was read.").arg(cell)});
        if (!said.isEmpty())
            msgBox(said, MsgIcon::Exclamation, QStringLiteral("Memory recall"));
        return;
    }
    if (rec.startsWith(QLatin1String("XXX"))) {
        msgBox(QStringList{QStringLiteral("Memory cell %1 is empty:").arg(cell), QStringLiteral("nothing was recalled.")},
               MsgIcon::Information, QStringLiteral("Memory recall"));
        return;
    }
    const QString modeText = rec.mid(16, 1);
    const int mode = int(roundHalfEven(numericValue(modeText)));
    const int filter = int(numericValue(rec.mid(18, 2)));
    const MemoryRanges &r = AR7030A->model().memory;
    if (!modeText.at(0).isDigit() || !r.mode->contains(mode) || !r.bandwidth->contains(filter)) {
        msgBox(QStringList{QStringLiteral("Memory cell %1 holds no mode or filter of the receiver:").arg(cell),
                           QStringLiteral("nothing was recalled.")},
               MsgIcon::Exclamation, QStringLiteral("Memory recall"));
        return;
    }
    AR7030A->setFrequencyA(numericValue(rec.mid(7, 8)) / 1000);
    AR7030A->setMode(mode);
    AR7030A->setBandwidth(filter);
    AR7030A->setPassBandShift(int(numericValue(rec.mid(25, 3))));
    if (AR7030A->model().keepsBfo(mode))
        AR7030A->setBeatfreqosc(int(numericValue(rec.mid(29, 3))));
    else
        AR7030A->setSquelch(int(numericValue(rec.mid(29, 3))));
    RxUpdatefull();
}

// ---- key rows ----

bool frmAR7030::modelKey(int keyCode, Modifier mod)
{
    if (mod == ModShift) {
        if (keyCode >= KeyF1 && keyCode <= KeyF1 + 5) {
            cmdBandwidth_Click(keyCode - KeyF1); // also when the button is disabled
            return true;
        }
        static const QString letters = QStringLiteral("ASFDCLU");
        const int m = keyCode >= KeyA && keyCode <= KeyZ ? int(letters.indexOf(QChar(keyCode))) : -1;
        if (m >= 0) {
            cmdMode_Click(m);
            return true;
        }
        const std::optional<int> v = barKey(keyCode, vsbPassbandshift->value(), 1, -42, 42);
        if (!v)
            return false;
        vsbPassbandshift->setValue(*v);
        // Sent again as the key has always done; a value the receiver did
        // not take (the bar went back) is not tried a second time.
        if (AR7030A && vsbPassbandshift->value() == *v)
            AR7030A->setPassBandShift(vsb2b(*v));
        return true;
    }
    if (mod == ModAlt) {
        const std::optional<int> v = barKey(keyCode, vsbVolume->value(), 5, 0, 99);
        if (!v)
            return false;
        vsbVolume->setValue(*v);
        // A silent receiver would cost a second unanswered read.
        if (AR7030A && vsbVolume->value() == *v)
            AR7030A->setVolume(*v);
        return true;
    }
    return false;
}

void frmAR7030::showReceiverChange(const RxChange &c)
{
    switch (c.what) {
    case RxChange::Attenuator: AR7030A_AttenuatorChanged(c.value); break;
    case RxChange::PassBandShift: AR7030A_PassbandshiftChanged(c.value); break;
    case RxChange::LineLevel: AR7030A_LeftauxlevelChanged(c.value); break;
    case RxChange::Record:
    case RxChange::Refresh: RxUpdatefull(); break;
    default: frmPanel::showReceiverChange(c); break;
    }
}

} // namespace tav
