#include "panels/frmNRD545.h"
#include "core/setupdata.h"

#include "core/delay.h"
#include "core/comm.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "drivers/clsNRD545.h"
#include "panels/jrclock.h"
#include "panels/mainmenu.h"
#include "panels/nrd545text.h"

#include "core/ui.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

frmPanel::PanelTraits frmNRD545::traits()
{
    PanelTraits t;
    t.firstStep = 0;
    t.decimals = 3;
    t.smallestStep = 0.001;
    t.enterFreqMessage = QStringList{QStringLiteral("Frequency outside range")};
    t.enterMemMessage = QStringList{QStringLiteral("Memory cell outside range")};
    t.bwLow = 0;
    t.bwHigh = 3;
    t.lineSettings = QStringLiteral("4800,N,8,1");
    t.hasEnterMem = true;
    t.enterCaptions = {"F", "M", "S"};
    return t;
}

namespace {

QLabel *plainValueLabel(const QString &name, QWidget *parent)
{
    return yellowValueLabel(makeLabel(name, QString(), parent));
}

ClickLabel *clickValueLabel(const QString &name, QWidget *parent)
{
    return yellowValueLabel(new ClickLabel(name, QString(), parent));
}

// The bars wait for the lock.
VScroll *slider(const QString &name, int top, int bottom, int small, int large, QWidget *parent)
{
    VScroll *v = makeBar(name, top, bottom, small, large, parent);
    v->setEnabled(false);
    return v;
}

} // namespace

frmNRD545::frmNRD545() : frmPanel(windowId, traits())
{
    setWindowTitle(QStringLiteral("NRD-545"));
    QWidget *area = modelArea();
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);

    // AGC, IF gain and squelch
    auto *fraAgcspeed = new QGroupBox(QStringLiteral("Agc - Ifg -Sql "), area);
    fraAgcspeed->setObjectName(QStringLiteral("fraAgcspeed"));
    auto *ga = new QGridLayout(fraAgcspeed);
    static const char *agcCaptions[] = {"Fst", "Med", "Slw", "Off"};
    for (int i = 0; i < 4; ++i) {
        cmdAgcspeed[size_t(i)] = yellowButton(QStringLiteral("cmdAgcspeed(%1)").arg(i), QLatin1String(agcCaptions[i]), fraAgcspeed);
        ga->addWidget(cmdAgcspeed[size_t(i)], i, 0);
        connect(cmdAgcspeed[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdAgcspeed_Click(i); });
    }
    lblAgcspeed = plainValueLabel(QStringLiteral("lblAgcspeed"), fraAgcspeed);
    ga->addWidget(lblAgcspeed, 4, 0);
    vsbIfgain = slider(QStringLiteral("vsbIfgain"), 255, 0, 2, 10, fraAgcspeed);
    vsbSquelch = slider(QStringLiteral("vsbSquelch"), 255, 0, 2, 10, fraAgcspeed);
    ga->addWidget(vsbIfgain, 0, 1, 4, 1);
    ga->addWidget(vsbSquelch, 0, 2, 4, 1);
    lblIfgain = plainValueLabel(QStringLiteral("lblIfgain"), fraAgcspeed);
    lblSquelch = plainValueLabel(QStringLiteral("lblSquelch"), fraAgcspeed);
    ga->addWidget(lblIfgain, 4, 1);
    ga->addWidget(lblSquelch, 4, 2);
    grid->addWidget(fraAgcspeed, 0, 0);

    // Volume and tone
    auto *fraLF = new QGroupBox(QStringLiteral("Vol - Ton"), area);
    fraLF->setObjectName(QStringLiteral("fraLF"));
    auto *gl = new QGridLayout(fraLF);
    vsbVolume = slider(QStringLiteral("vsbVolume"), 255, 0, 3, 10, fraLF);
    vsbTone = slider(QStringLiteral("vsbTone"), 255, 0, 13, 39, fraLF);
    lblVolume = clickValueLabel(QStringLiteral("lblVolume"), fraLF);
    lblTone = clickValueLabel(QStringLiteral("lblTone"), fraLF);
    gl->addWidget(vsbVolume, 0, 0);
    gl->addWidget(vsbTone, 0, 1);
    gl->addWidget(lblVolume, 1, 0);
    gl->addWidget(lblTone, 1, 1);
    grid->addWidget(fraLF, 0, 1);

    // Mode and ECSS
    auto *fraMode = new QGroupBox(QStringLiteral("Md"), area);
    fraMode->setObjectName(QStringLiteral("fraMode"));
    auto *gm = new QVBoxLayout(fraMode);
    static const char *modeCaptions[] = {"RY", "CW", "USB", "LSB", "AM", "NFM", "AMS"};
    for (int i = 0; i < 7; ++i) {
        cmdMode[size_t(i)] = yellowButton(QStringLiteral("cmdMode(%1)").arg(i), QLatin1String(modeCaptions[i]), fraMode);
        gm->addWidget(cmdMode[size_t(i)]);
        connect(cmdMode[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdMode_Click(i); });
    }
    static const char *ecssCaptions[] = {"AM-U", "AM-L"};
    for (int i = 0; i < 2; ++i) {
        cmdEcss[size_t(i)] = yellowButton(QStringLiteral("cmdEcss(%1)").arg(i), QLatin1String(ecssCaptions[i]), fraMode);
        gm->addWidget(cmdEcss[size_t(i)]);
        connect(cmdEcss[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdEcss_Click(i); });
    }
    lblMode = plainValueLabel(QStringLiteral("lblMode"), fraMode);
    gm->addWidget(lblMode);
    grid->addWidget(fraMode, 0, 2, 2, 1);

    // Bandwidth, bandwidth control and pass-band shift
    auto *fraBW = new QGroupBox(QStringLiteral(" BW - BWC - PBS"), area);
    fraBW->setObjectName(QStringLiteral("fraBW"));
    auto *gb = new QGridLayout(fraBW);
    static const char *bwCaptions[] = {"Wid", "Int", "Nar"};
    for (int i = 0; i < 3; ++i) {
        cmdBandwidth[size_t(i)] = yellowButton(QStringLiteral("cmdBandwidth(%1)").arg(i), QLatin1String(bwCaptions[i]), fraBW);
        gb->addWidget(cmdBandwidth[size_t(i)], i, 0);
        connect(cmdBandwidth[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdBandwidth_Click(i); });
    }
    lblBandwidth = plainValueLabel(QStringLiteral("lblBandwidth"), fraBW);
    gb->addWidget(lblBandwidth, 3, 0);
    vsbBandwidthcontrol = slider(QStringLiteral("vsbBandwidthcontrol"), 999, 1, 1, 10, fraBW);
    vsbBandwidthcontrol->blockSignals(true);
    vsbBandwidthcontrol->setValue(999);
    vsbBandwidthcontrol->blockSignals(false);
    vsbPassbandshift = slider(QStringLiteral("vsbPassbandshift"), 230, -230, 1, 10, fraBW);
    gb->addWidget(vsbBandwidthcontrol, 0, 1, 3, 1);
    gb->addWidget(vsbPassbandshift, 0, 2, 3, 1);
    lblbandwidthcontrol = plainValueLabel(QStringLiteral("lblbandwidthcontrol"), fraBW);
    lblPassbandshift = clickValueLabel(QStringLiteral("lblPassbandshift"), fraBW);
    gb->addWidget(lblbandwidthcontrol, 3, 1);
    gb->addWidget(lblPassbandshift, 3, 2);
    grid->addWidget(fraBW, 1, 0, 1, 2);

    // Attenuator, lock and power
    auto *col = new QVBoxLayout;
    auto *fraAttenuator = new QGroupBox(QStringLiteral("Att"), area);
    fraAttenuator->setObjectName(QStringLiteral("fraAttenuator"));
    auto *gt = new QVBoxLayout(fraAttenuator);
    static const char *attCaptions[] = {"0", "-20"};
    for (int i = 0; i < 2; ++i) {
        cmdAttenuator[size_t(i)] = yellowButton(QStringLiteral("cmdAttenuator(%1)").arg(i), QLatin1String(attCaptions[i]), fraAttenuator);
        gt->addWidget(cmdAttenuator[size_t(i)]);
        connect(cmdAttenuator[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdAttenuator_Click(i); });
    }
    lblAttenuator = plainValueLabel(QStringLiteral("lblAttenuator"), fraAttenuator);
    gt->addWidget(lblAttenuator);
    col->addWidget(fraAttenuator);
    lock = new JrcLock(area, [this](int16_t s) { return lockoffon(s); }, [this] { showUnheld(); });
    col->addWidget(lock->fraLock);
    cmdPowerOnOff = colouredButton(QStringLiteral("cmdPowerOnOff"), QStringLiteral("Pwr"), kDesignGrey, area);
    col->addWidget(cmdPowerOnOff);
    col->addStretch(1);
    grid->addLayout(col, 0, 3, 2, 1);

    // "f/c" sits with the frequency.
    if (auto *fraFreqA = findChild<QGroupBox *>(QStringLiteral("fraFreqA"))) {
        fraFreqA->setTitle(QStringLiteral("Freq A : 10 k - 30 M"));
        cmdFreqOrChan = yellowButton(QStringLiteral("cmdFreqOrChan"), QStringLiteral("f/c"), fraFreqA);
        if (auto *fg = qobject_cast<QGridLayout *>(fraFreqA->layout()))
            fg->addWidget(cmdFreqOrChan, fg->rowCount(), 0, 1, 2);
    } else {
        cmdFreqOrChan = yellowButton(QStringLiteral("cmdFreqOrChan"), QStringLiteral("f/c"), area);
        col->addWidget(cmdFreqOrChan);
    }

    connect(cmdPowerOnOff, &QPushButton::clicked, this, &frmNRD545::cmdPowerOnOff_Click);
    connect(cmdFreqOrChan, &QPushButton::clicked, this, &frmNRD545::cmdFreqOrChan_Click);
    connect(lblPassbandshift, &ClickLabel::clicked, this, &frmNRD545::lblPassbandshift_Click);
    connect(lblTone, &ClickLabel::clicked, this, &frmNRD545::lblTone_Click);
    connect(lblVolume, &ClickLabel::clicked, this, &frmNRD545::lblVolume_Click);

    // A slider sends its value whenever it changes, by the user or the program.
    auto sendOnChange = [this](VScroll *bar, bool (clsNRD545::*send)(int16_t)) {
        connect(bar, &QScrollBar::valueChanged, this, [this, send](int v) {
            if (NRD545A)
                (NRD545A.get()->*send)(int16_t(v));
        });
    };
    sendOnChange(vsbIfgain, &clsNRD545::setIfgain);
    sendOnChange(vsbSquelch, &clsNRD545::setSquelch);
    sendOnChange(vsbTone, &clsNRD545::setTone);
    sendOnChange(vsbVolume, &clsNRD545::setVolume);
    sendOnChange(vsbPassbandshift, &clsNRD545::setPassBandShift);
    sendOnChange(vsbBandwidthcontrol, &clsNRD545::setBandwidthcontrol);

}

frmNRD545::~frmNRD545() = default;

// ---- coming up and going away ----

void frmNRD545::initTablesAndDriver()
{
    NRD545A = std::make_unique<clsNRD545>(rxPort());
    connectDriver();
    InitNRD545();
}

void frmNRD545::connectDriver()
{
    clsNRD545 *d = NRD545A.get();
    connect(d, &clsNRD545::LockChanged, this, &frmNRD545::NRD545A_LockChanged);
    connect(d, &clsNRD545::PoweronoffChanged, this, &frmNRD545::NRD545A_PoweronoffChanged);
    connect(d, &clsNRD545::AttenuatorChanged, this, &frmNRD545::NRD545A_AttenuatorChanged);
    connect(d, &clsNRD545::BandwidthChanged, this, &frmNRD545::NRD545A_BandwidthChanged);
    connect(d, &clsNRD545::BandwidthcontrolChanged, this, &frmNRD545::NRD545A_BandwidthcontrolChanged);
    connect(d, &clsNRD545::ModeChanged, this, &frmNRD545::NRD545A_ModeChanged);
    connect(d, &clsNRD545::EcssChanged, this, &frmNRD545::NRD545A_EcssChanged);
    connect(d, &clsNRD545::AgcspeedChanged, this, &frmNRD545::NRD545A_AgcspeedChanged);
    connect(d, &clsNRD545::FrequencyAChanged, this, &frmNRD545::NRD545A_FrequencyAChanged);
    connect(d, &clsNRD545::PassbandshiftChanged, this, &frmNRD545::NRD545A_PassbandshiftChanged);
    connect(d, &clsNRD545::IfgainChanged, this, &frmNRD545::NRD545A_IfgainChanged);
    connect(d, &clsNRD545::SquelchChanged, this, &frmNRD545::NRD545A_SquelchChanged);
    connect(d, &clsNRD545::ToneChanged, this, &frmNRD545::NRD545A_ToneChanged);
    connect(d, &clsNRD545::VolumeChanged, this, &frmNRD545::NRD545A_VolumeChanged);
    connect(d, &clsNRD545::RxStatusChanged, this, &frmNRD545::NRD545A_RxStatusChanged);
}

void frmNRD545::releaseDriver() { NRD545A.reset(); }

bool frmNRD545::setDriverFrequency(double khz)
{
    return NRD545A && NRD545A->setFrequencyA(khz);
}

void frmNRD545::modelSetup()
{
    m_power = 0;
    setBackColor(cmdPowerOnOff, kDesignGrey);
    // The panel starts as built: the sliders need the lock.
    for (VScroll *v : {vsbIfgain, vsbSquelch, vsbVolume, vsbTone, vsbBandwidthcontrol, vsbPassbandshift})
        v->setEnabled(false);
    NRD545A->setRttyOnOff(0);
    NRD545A->setUserdefs(24, 1);
    setBackColor(lblAttenuator, kLightYellow);
}

void frmNRD545::readReceiverState()
{
    RxUpdatefull();
    if (NRD545A)
        lock->panelLoaded(*NRD545A);
}

void frmNRD545::modelUnload()
{
    // The receiver goes back to local before the driver and the port go.
    lock->panelUnloading();
}

// Continuous stepping holds the receiver in remote for its whole run.
void frmNRD545::movefreqChanged(int16_t on)
{
    if (!isLoadedForm())
        return;
    if (on == 1)
        lock->steppingStarted();
    else
        lock->steppingStopped();
}

// ---- lock ----

bool frmNRD545::lockoffon(int16_t state)
{
    if (!NRD545A || !NRD545A->setLockonoff(state))
        return false;
    if (state == 0)
        showUnheld();
    else if (state == 1)
        RxUpdatefull();
    return true;
}

void frmNRD545::showUnheld()
{
    for (QLabel *l : {lblbandwidthcontrol, static_cast<QLabel *>(lblPassbandshift), lblIfgain, lblSquelch,
                      static_cast<QLabel *>(lblVolume), static_cast<QLabel *>(lblTone)})
        l->setText(QString());
    for (VScroll *v : {vsbBandwidthcontrol, vsbPassbandshift, vsbIfgain, vsbSquelch, vsbVolume, vsbTone})
        v->setEnabled(false);
}

void frmNRD545::cmdLock_Click(int index) { lock->cmdLock_Click(index); }

// ---- full refresh ----

void frmNRD545::showRead(int16_t value, bool ok, QLabel *label, void (frmNRD545::*handler)(int16_t))
{
    // A read that got no answer must not be written back to the receiver as 0.
    if (ok)
        (this->*handler)(value);
    else
        label->setText(QStringLiteral("?"));
}

void frmNRD545::RxUpdatefull()
{
    auto run = readRun();
    if (!NRD545A)
        return;
    Busy busy(this);
    const QString status = NRD545A->RxStatus();
    NRD545A_RxStatusChanged(status);
    if (!NRD545A)
        return;
    const int m = status.size() == 13 && status.at(3).isDigit() ? status.at(3).digitValue() : -1;
    const bool fixedFilter = (m == 5 || m == 6);
    for (QPushButton *b : cmdEcss)
        b->setEnabled(m == 4);
    for (QPushButton *b : cmdBandwidth)
        b->setEnabled(!fixedFilter);
    lblBandwidth->setEnabled(!fixedFilter);
    if (fixedFilter) {
        lblBandwidth->setText(G.bwnames.value(0));
        vsbBandwidthcontrol->setEnabled(false);
        vsbPassbandshift->setEnabled(false);
    } else {
        lblBandwidth->setText(nrd545::bandwidthText(status.size() == 13 && status.at(2).isDigit()
                                                        ? status.at(2).digitValue()
                                                        : -1));
    }
    if (G.jrclock != 1)
        return;
    vsbBandwidthcontrol->setEnabled(!fixedFilter);
    int16_t v = NRD545A->Bandwidthcontrol();
    showRead(v, NRD545A->lastReadOk(), lblbandwidthcontrol, &frmNRD545::NRD545A_BandwidthcontrolChanged);
    vsbPassbandshift->setEnabled(!fixedFilter);
    v = NRD545A->PassBandShift();
    showRead(v, NRD545A->lastReadOk(), lblPassbandshift, &frmNRD545::NRD545A_PassbandshiftChanged);
    vsbIfgain->setEnabled(true);
    v = NRD545A->Ifgain();
    showRead(v, NRD545A->lastReadOk(), lblIfgain, &frmNRD545::NRD545A_IfgainChanged);
    vsbSquelch->setEnabled(true);
    v = NRD545A->Squelch();
    showRead(v, NRD545A->lastReadOk(), lblSquelch, &frmNRD545::NRD545A_SquelchChanged);
    vsbTone->setEnabled(true);
    v = NRD545A->Tone();
    showRead(v, NRD545A->lastReadOk(), lblTone, &frmNRD545::NRD545A_ToneChanged);
    vsbVolume->setEnabled(true);
    v = NRD545A->Volume();
    showRead(v, NRD545A->lastReadOk(), lblVolume, &frmNRD545::NRD545A_VolumeChanged);
}

// ---- controls ----

void frmNRD545::cmdMode_Click(int index)
{
    if (!NRD545A || index < 0 || index > 6)
        return;
    Busy busy(this);
    if (!NRD545A->setMode(int16_t(index)))
        return;
    Delay(100);
    if (isLoadedForm())
        RxUpdatefull();
}

void frmNRD545::cmdEcss_Click(int index)
{
    if (NRD545A && index >= 0 && index <= 1)
        NRD545A->setEcss(int16_t(index + 1));
}

int frmNRD545::agcFactor(int index)
{
    static const int fallback[] = {1, 3, 9};
    if (index < 0 || index > 2)
        return 0;
    const int64_t v = roundHalfEven(double(setting(nrd545AgcFactor(index))));
    // A hand-edited settings file must not send an AGC time the receiver
    // does not have.
    return (v >= 1 && v <= 9) ? int(v) : fallback[index];
}

void frmNRD545::cmdAgcspeed_Click(int index)
{
    if (!NRD545A || index < 0 || index > 3)
        return;
    NRD545A->setAgcspeed(int16_t(index == 3 ? 0 : agcFactor(index)));
}

void frmNRD545::cmdAttenuator_Click(int index)
{
    if (NRD545A && index >= 0 && index <= 1)
        NRD545A->setAttenuator(int16_t(index));
}

void frmNRD545::cmdBandwidth_Click(int index)
{
    if (!NRD545A || index < 0 || index > 2)
        return;
    if (!NRD545A->setBandwidth(int16_t(index)))
        return;
    if (G.jrclock == 1 && NRD545A) {
        const int16_t v = NRD545A->Bandwidthcontrol();
        showRead(v, NRD545A->lastReadOk(), lblbandwidthcontrol, &frmNRD545::NRD545A_BandwidthcontrolChanged);
    }
}

void frmNRD545::cmdFreqOrChan_Click()
{
    if (NRD545A)
        NRD545A->FreqOrChan(0);
}

void frmNRD545::cmdPowerOnOff_Click()
{
    if (NRD545A && NRD545A->setPowerOnOff(int16_t(1 - m_power)))
        m_power = int16_t(1 - m_power);
}

void frmNRD545::recallMemory(int cell)
{
    if (NRD545A && NRD545A->setRx2Mem(int16_t(cell)))
        RxUpdatefull();
}

void frmNRD545::lblPassbandshift_Click()
{
    if (vsbPassbandshift->isEnabled())
        vsbPassbandshift->setValue(0);
}

void frmNRD545::lblTone_Click()
{
    if (vsbTone->isEnabled())
        vsbTone->setValue(127);
}

void frmNRD545::lblVolume_Click()
{
    if (vsbVolume->isEnabled())
        vsbVolume->setValue(0);
}

// ---- display handlers ----

void frmNRD545::NRD545A_LockChanged(int16_t v) { lock->showLock(v); }

void frmNRD545::NRD545A_PoweronoffChanged(int16_t v) { setBackColor(cmdPowerOnOff, v == 1 ? kGreen : kGrey); }

void frmNRD545::NRD545A_AttenuatorChanged(int16_t v) { lblAttenuator->setText(nrd545::attenuatorText(v)); }

void frmNRD545::NRD545A_BandwidthChanged(int16_t v) { lblBandwidth->setText(nrd545::bandwidthText(v)); }

void frmNRD545::NRD545A_BandwidthcontrolChanged(int16_t v)
{
    lblbandwidthcontrol->setText(nrd545::bwcText(v));
    if (v >= 1 && v <= 999)
        vsbBandwidthcontrol->showValue(v);
}

void frmNRD545::NRD545A_ModeChanged(int16_t v) { lblMode->setText(nrd545::modeText(v)); }

void frmNRD545::NRD545A_EcssChanged(int16_t v) { lblMode->setText(nrd545::ecssText(v)); }

void frmNRD545::NRD545A_AgcspeedChanged(int16_t v) { lblAgcspeed->setText(nrd545::agcText(v)); }

void frmNRD545::NRD545A_FrequencyAChanged(double khz) { showFrequency(khz); }

void frmNRD545::NRD545A_PassbandshiftChanged(int16_t v)
{
    lblPassbandshift->setText(nrd545::pbsText(v));
    if (v >= -230 && v <= 230)
        vsbPassbandshift->showValue(v);
}

void frmNRD545::NRD545A_IfgainChanged(int16_t v)
{
    lblIfgain->setText(nrd545::levelText(v));
    if (v >= 0 && v <= 255)
        vsbIfgain->showValue(v);
}

void frmNRD545::NRD545A_SquelchChanged(int16_t v)
{
    lblSquelch->setText(nrd545::levelText(v));
    if (v >= 0 && v <= 255)
        vsbSquelch->showValue(v);
}

void frmNRD545::NRD545A_ToneChanged(int16_t v)
{
    lblTone->setText(nrd545::toneText(v));
    if (v >= 0 && v <= 255)
        vsbTone->showValue(v);
}

void frmNRD545::NRD545A_VolumeChanged(int16_t v)
{
    lblVolume->setText(nrd545::levelText(v));
    if (v >= 0 && v <= 255)
        vsbVolume->showValue(v);
}

void frmNRD545::NRD545A_RxStatusChanged(const QString &text)
{
    const nrd545::StatusView s = nrd545::statusView(text);
    lblAttenuator->setText(s.attenuator);
    lblBandwidth->setText(s.bandwidth);
    lblMode->setText(s.mode);
    if (s.valid) {
        const bool on = nrd545::agcButtonsEnabled(s.modeDigit);
        for (QPushButton *b : cmdAgcspeed)
            b->setEnabled(on);
    }
    lblAgcspeed->setText(s.agc);
    showFrequencyText(s.frequency);
}

// ---- keys ----

void frmNRD545::barKey(VScroll *bar, int value, bool (clsNRD545::*send)(int16_t))
{
    bar->setValue(value);
    if (NRD545A)
        (NRD545A.get()->*send)(int16_t(bar->value()));
}

bool frmNRD545::modelKey(int keyCode, Modifier mod)
{
    const bool held = G.panellock == 1;
    if (mod == ModShift) {
        switch (keyCode) {
        case KeyF1: cmdBandwidth_Click(2); return true;
        case KeyF1 + 1: cmdBandwidth_Click(1); return true;
        case KeyF1 + 2: cmdBandwidth_Click(0); return true;
        case 'A': cmdMode_Click(4); return true;
        case 'C': cmdMode_Click(1); return true;
        case 'F': cmdMode_Click(5); return true;
        case 'L': cmdMode_Click(3); return true;
        case 'U': cmdMode_Click(2); return true;
        case 'R': cmdMode_Click(0); return true;
        case 'X': cmdMode_Click(6); return true;
        case 'P': cmdEcss_Click(0); return true;
        case 'M': cmdEcss_Click(1); return true;
        default: break;
        }
        if (!held)
            return false;
        const int pbs = vsbPassbandshift->value();
        switch (keyCode) {
        case KeyEqual: barKey(vsbPassbandshift, pbs < 221 ? pbs + 10 : 230, &clsNRD545::setPassBandShift); return true;
        case KeyMinus: barKey(vsbPassbandshift, pbs >= -220 ? pbs - 10 : -230, &clsNRD545::setPassBandShift); return true;
        case Key0: barKey(vsbPassbandshift, 0, &clsNRD545::setPassBandShift); return true;
        default: return false;
        }
    }
    if (mod == ModCtrl) {
        if (!held)
            return false;
        const int bwc = vsbBandwidthcontrol->value();
        switch (keyCode) {
        case KeyF1: barKey(vsbBandwidthcontrol, 10, &clsNRD545::setBandwidthcontrol); return true;
        case KeyF1 + 1: barKey(vsbBandwidthcontrol, bwc >= 20 ? bwc - 10 : 10, &clsNRD545::setBandwidthcontrol); return true;
        case KeyF1 + 2: barKey(vsbBandwidthcontrol, bwc < 981 ? bwc + 10 : 990, &clsNRD545::setBandwidthcontrol); return true;
        case KeyF1 + 3: barKey(vsbBandwidthcontrol, 990, &clsNRD545::setBandwidthcontrol); return true;
        default: return false;
        }
    }
    if (mod == ModCtrlShift)
        return lock->ctrlShiftKey(keyCode);
    if (mod == ModAlt) {
        if (!held)
            return false;
        const int vol = vsbVolume->value();
        switch (keyCode) {
        case KeyEqual: barKey(vsbVolume, vol < 241 ? vol + 15 : 255, &clsNRD545::setVolume); return true;
        case KeyMinus: barKey(vsbVolume, vol >= 15 ? vol - 15 : 0, &clsNRD545::setVolume); return true;
        case Key0: barKey(vsbVolume, 0, &clsNRD545::setVolume); return true;
        default: return false;
        }
    }
    return false;
}

// ---- menu ----

void frmNRD545::buildDirectMenu(QMenu *menu)
{
    QAction *update = addMenuEntry(menu, QStringLiteral("mnuUpdate"), QStringLiteral("Update"), [this] { RxUpdatefull(); });
    update->setShortcut(QKeySequence(Qt::Key_F5));
    addDirectEntry(menu, this, DirectEntry::Setup);
    addMenuEntry(menu, QStringLiteral("mnuUserdefs"), QStringLiteral("User Defs . . ."),
                 [] { openFromMenu(WindowId::frmUserdefs545, MenuOpen::ShowModal); });
    addMenuEntry(menu, QStringLiteral("mnuAdvancedDSP"), QStringLiteral("Advanced DSP . . ."),
                 [] { openFromMenu(WindowId::frmAdvancedDSP, MenuOpen::Show); });
    addMenuSeparator(menu, QStringLiteral("mnuLine1"));
    addDirectEntry(menu, this, DirectEntry::Last20);
    addDirectEntry(menu, this, DirectEntry::MarkFreqs);
    addDirectEntry(menu, this, DirectEntry::Scratchpad);
    addMenuSeparator(menu, QStringLiteral("mnuLine2"));
    QAction *rtty = addMenuEntry(menu, QStringLiteral("mnuRtty"), QStringLiteral("RTTY"),
                                 [] { openFromMenu(WindowId::frmRtty, MenuOpen::Show); });
    rtty->setEnabled(menuWindowAvailable(WindowId::frmRtty));
    addMenuSeparator(menu, QStringLiteral("mnuLine3"));
    addDirectEntry(menu, this, DirectEntry::Close);
    addDirectEntry(menu, this, DirectEntry::Exit);
}

void frmNRD545::showReceiverChange(const RxChange &c)
{
    switch (c.what) {
    case RxChange::Attenuator: NRD545A_AttenuatorChanged(int16_t(c.value)); break;
    case RxChange::PassBandShift: NRD545A_PassbandshiftChanged(int16_t(c.value)); break;
    case RxChange::BandwidthControl: NRD545A_BandwidthcontrolChanged(int16_t(c.value)); break;
    case RxChange::Record: NRD545A_RxStatusChanged(c.status); break;
    case RxChange::Refresh: RxUpdatefull(); break;
    default: frmPanel::showReceiverChange(c); break;
    }
}

} // namespace tav
