#include "panels/frmNRD535.h"
#include "core/setupdata.h"

#include "core/delay.h"
#include "core/comm.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "drivers/clsNRD535.h"
#include "panels/mainmenu.h"
#include "panels/nrd535text.h"

#include "core/ui.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

frmPanel::PanelTraits frmNRD535::nrd535Traits()
{
    PanelTraits t;
    t.firstStep = 0;
    t.decimals = 3;
    t.smallestStep = 0.001;
    t.enterFreqMessage = {QStringLiteral("Frequency outside range")};
    t.enterMemMessage = {QStringLiteral("Memory cell outside range")};
    t.bwLow = 0;
    t.bwHigh = 3;
    t.lineSettings = QStringLiteral("4800,N,8,1");
    t.hasEnterMem = true;
    t.enterMemGreys = false; // the NRD-535's "M" stays as it is while it works
    t.enterCaptions = {"F", "M", "S"};
    return t;
}

namespace {

// The sliders as built: both wait for the lock.
void designSlider(VScroll *v, int top, int bottom, int value)
{
    const bool was = v->blockSignals(true);
    v->setEnds(top, bottom);
    v->setSmallChange(25);
    v->setLargeChange(200);
    v->setValue(value);
    v->blockSignals(was);
    v->setEnabled(false);
}
} // namespace

frmNRD535::frmNRD535()
    : frmPanel(windowId, nrd535Traits())
{
    setWindowTitle(QStringLiteral("NRD-535"));
    if (auto *fra = findChild<QGroupBox *>(QStringLiteral("fraFreqA")))
        fra->setTitle(QStringLiteral("Freq A : 10 k - 30 M"));

    QWidget *area = modelArea();
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);

    // Attenuator
    fraAttenuator = new QGroupBox(QStringLiteral("Att"), area);
    fraAttenuator->setObjectName(QStringLiteral("fraAttenuator"));
    {
        auto *col = new QVBoxLayout(fraAttenuator);
        lblAttenuator = yellowValueLabel(makeLabel(QStringLiteral("lblAttenuator"), QString(), fraAttenuator));
        col->addWidget(lblAttenuator);
        static const char *caps[] = {"0", "-20"};
        for (int i = 0; i < 2; ++i) {
            cmdAttenuator[size_t(i)] =
                yellowButton(QStringLiteral("cmdAttenuator(%1)").arg(i), QLatin1String(caps[i]), fraAttenuator);
            connect(cmdAttenuator[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdAttenuator_Click(i); });
            col->addWidget(cmdAttenuator[size_t(i)]);
        }
        col->addStretch();
    }
    grid->addWidget(fraAttenuator, 0, 0);

    // AGC and noise blanker
    fraAgcspeed = new QGroupBox(QStringLiteral("Agc - Nb"), area);
    fraAgcspeed->setObjectName(QStringLiteral("fraAgcspeed"));
    {
        auto *g = new QGridLayout(fraAgcspeed);
        lblAgcspeed = yellowValueLabel(makeLabel(QStringLiteral("lblAgcspeed"), QString(), fraAgcspeed));
        lblNoiseblanker = yellowValueLabel(makeLabel(QStringLiteral("lblNoiseblanker"), QString(), fraAgcspeed));
        g->addWidget(lblAgcspeed, 0, 0);
        g->addWidget(lblNoiseblanker, 0, 1);
        static const char *agc[] = {"Slw", "Fst", "Off"};
        static const char *nb[] = {"Off", "NB1", "NB2"};
        for (int i = 0; i < 3; ++i) {
            cmdAgcspeed[size_t(i)] =
                yellowButton(QStringLiteral("cmdAgcspeed(%1)").arg(i), QLatin1String(agc[i]), fraAgcspeed);
            cmdNoiseblanker[size_t(i)] =
                yellowButton(QStringLiteral("cmdNoiseblanker(%1)").arg(i), QLatin1String(nb[i]), fraAgcspeed);
            connect(cmdAgcspeed[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdAgcspeed_Click(i); });
            connect(cmdNoiseblanker[size_t(i)], &QPushButton::clicked, this,
                    [this, i] { cmdNoiseblanker_Click(i); });
            g->addWidget(cmdAgcspeed[size_t(i)], i + 1, 0);
            g->addWidget(cmdNoiseblanker[size_t(i)], i + 1, 1);
        }
    }
    grid->addWidget(fraAgcspeed, 0, 1);

    // Mode
    fraMode = new QGroupBox(QStringLiteral("Md"), area);
    fraMode->setObjectName(QStringLiteral("fraMode"));
    {
        auto *g = new QGridLayout(fraMode);
        lblMode = yellowValueLabel(makeLabel(QStringLiteral("lblMode"), QString(), fraMode));
        g->addWidget(lblMode, 0, 0, 1, 3);
        static const char *caps[] = {"RY", "CW", "USB", "LSB", "AM", "NFM", "Fax", "AM-U", "AM-L"};
        for (int i = 0; i < 9; ++i) {
            cmdMode[size_t(i)] = yellowButton(QStringLiteral("cmdMode(%1)").arg(i), QLatin1String(caps[i]), fraMode);
            connect(cmdMode[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdMode_Click(i); });
            g->addWidget(cmdMode[size_t(i)], 1 + i / 3, i % 3);
        }
    }
    grid->addWidget(fraMode, 0, 2);

    // Filters, bandwidth control and pass-band shift
    fraFilters = new QGroupBox(QStringLiteral("Bw - Bwc - Pbs"), area);
    fraFilters->setObjectName(QStringLiteral("fraFilters"));
    {
        auto *g = new QGridLayout(fraFilters);
        lblBandwidth = yellowValueLabel(makeLabel(QStringLiteral("lblBandwidth"), QString(), fraFilters));
        g->addWidget(lblBandwidth, 0, 0);
        static const char *caps[] = {"Wid", "Int", "Nar", "Aux"};
        for (int i = 0; i < 4; ++i) {
            cmdBandwidth[size_t(i)] =
                yellowButton(QStringLiteral("cmdBandwidth(%1)").arg(i), QLatin1String(caps[i]), fraFilters);
            connect(cmdBandwidth[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdBandwidth_Click(i); });
            g->addWidget(cmdBandwidth[size_t(i)], i + 1, 0);
        }
        lblBandwidthcontrol = yellowValueLabel(makeLabel(QStringLiteral("lblBandwidthcontrol"), QString(), fraFilters));
        lblPassbandshift = yellowValueLabel(new ClickLabel(QStringLiteral("lblPassbandshift"), QString(), fraFilters));
        vsbBandwidthcontrol = makeBar(QStringLiteral("vsbBandwidthcontrol"), 5500, 2200, 25, 200, fraFilters);
        vsbPassbandshift = makeBar(QStringLiteral("vsbPassbandshift"), 2000, -2000, 25, 200, fraFilters);
        g->addWidget(lblBandwidthcontrol, 0, 1);
        g->addWidget(lblPassbandshift, 0, 2);
        g->addWidget(vsbBandwidthcontrol, 1, 1, 4, 1, Qt::AlignHCenter);
        g->addWidget(vsbPassbandshift, 1, 2, 4, 1, Qt::AlignHCenter);
    }
    designSlider(vsbBandwidthcontrol, 5500, 2200, 2200);
    designSlider(vsbPassbandshift, 2000, -2000, 0);
    grid->addWidget(fraFilters, 0, 3, 2, 1);

    lock = new JrcLock(area, [this](int16_t s) { return lockoffon(s); }, [this] { showUnheld(); });
    grid->addWidget(lock->fraLock, 1, 0);

    cmdPowerOnOff = colouredButton(QStringLiteral("cmdPowerOnOff"), QStringLiteral("Pwr"), kDesignGrey, area);
    grid->addWidget(cmdPowerOnOff, 1, 1);

    connect(cmdPowerOnOff, &QPushButton::clicked, this, &frmNRD535::cmdPowerOnOff_Click);
    connect(lblPassbandshift, &ClickLabel::clicked, this, &frmNRD535::lblPassbandshift_Click);
    connect(vsbBandwidthcontrol, &QScrollBar::valueChanged, this, [this](int v) {
        if (NRD535A)
            NRD535A->setBandwidthcontrol(int16_t(v));
    });
    connect(vsbPassbandshift, &QScrollBar::valueChanged, this, [this](int v) {
        if (NRD535A)
            NRD535A->setPassBandShift(int16_t(v));
    });
}

frmNRD535::~frmNRD535() = default;

// ---- coming up and going away ----

void frmNRD535::initTablesAndDriver()
{
    NRD535A = std::make_unique<clsNRD535>(rxPort());
    connectDriver();
    InitNRD535();

    // What the receiver's options allow.
    cmdBandwidth[2]->setEnabled(settingOn(Setting::Nrd535NarFitted));
    cmdMode[7]->setEnabled(ecssFitted());
    cmdMode[8]->setEnabled(ecssFitted());
    // As built: the sliders wait for the lock, their labels empty.
    designSlider(vsbBandwidthcontrol, 5500, 2200, 2200);
    designSlider(vsbPassbandshift, 2000, -2000, 0);
    lblBandwidthcontrol->clear();
    lblPassbandshift->clear();
    m_power = 0;
    setBackColor(cmdPowerOnOff, kDesignGrey);
}

void frmNRD535::connectDriver()
{
    clsNRD535 *d = NRD535A.get();
    connect(d, &clsNRD535::LockChanged, this, &frmNRD535::NRD535A_LockChanged);
    connect(d, &clsNRD535::PoweronoffChanged, this, &frmNRD535::NRD535A_PoweronoffChanged);
    connect(d, &clsNRD535::AttenuatorChanged, this, &frmNRD535::NRD535A_AttenuatorChanged);
    connect(d, &clsNRD535::BandwidthChanged, this, &frmNRD535::NRD535A_BandwidthChanged);
    connect(d, &clsNRD535::ModeChanged, this, &frmNRD535::NRD535A_ModeChanged);
    connect(d, &clsNRD535::AgcspeedChanged, this, &frmNRD535::NRD535A_AgcspeedChanged);
    connect(d, &clsNRD535::NoiseblankerChanged, this, &frmNRD535::NRD535A_NoiseblankerChanged);
    connect(d, &clsNRD535::BandwidthcontrolChanged, this, &frmNRD535::NRD535A_BandwidthcontrolChanged);
    connect(d, &clsNRD535::PassbandshiftChanged, this, &frmNRD535::NRD535A_PassbandshiftChanged);
    connect(d, &clsNRD535::FrequencyAChanged, this, &frmNRD535::NRD535A_FrequencyAChanged);
    connect(d, &clsNRD535::RxStatusChanged, this, &frmNRD535::NRD535A_RxStatusChanged);
}

void frmNRD535::releaseDriver() { NRD535A.reset(); }

bool frmNRD535::setDriverFrequency(double khz)
{
    return NRD535A && NRD535A->setFrequencyA(khz);
}

void frmNRD535::modelSetup()
{
    NRD535A->setRttyOnOff(0);
}

void frmNRD535::readReceiverState()
{
    RxUpdatebasics();
    NRD535A->setUserdefs(1, 0); // VBT bypass off, as the attenuator label shows
    setBackColor(lblAttenuator, kLightYellow);
    NRD535A->setNoiseblanker(0);
    lock->panelLoaded(*NRD535A);
}

void frmNRD535::modelUnload()
{
    // Stepping ends first; then the tools close while the driver can still
    // serve their last calls; then the receiver goes back to local whatever
    // the user had chosen. The base releases the driver and the port after.
    movefreqon = 0;
    tmrMovefreq.stop();
    cmdMovefreq->setText(QStringLiteral("GO"));
    UnloadTools();
    if (lock->active())
        lock->panelUnloading();
}

void frmNRD535::movefreqChanged(int16_t on)
{
    if (!NRD535A)
        return;
    // The hold comes before the first step and goes after the last.
    if (on == 1)
        lock->steppingStarted();
    else
        lock->steppingStopped();
}

bool frmNRD535::ecssFitted() const { return settingOn(Setting::Nrd535EcssFitted); }

// ---- lock and refresh ----

bool frmNRD535::lockoffon(int16_t state)
{
    if (!NRD535A || !NRD535A->setLockonoff(state))
        return false;
    if (state == 0)
        showUnheld();
    else if (state == 1)
        RxUpdatefull();
    return true;
}

void frmNRD535::showUnheld()
{
    lblBandwidthcontrol->clear();
    lblPassbandshift->clear();
    vsbBandwidthcontrol->setEnabled(false);
    vsbPassbandshift->setEnabled(false);
}

void frmNRD535::cmdLock_Click(int index) { lock->cmdLock_Click(index); }

void frmNRD535::RxUpdatebasics()
{
    auto run = readRun();
    if (!NRD535A)
        return;
    NRD535A_RxStatusChanged(NRD535A->RxStatus());
}

void frmNRD535::RxUpdatefull()
{
    auto run = readRun();
    if (!NRD535A)
        return;
    const QString s = NRD535A->RxStatus();
    NRD535A_RxStatusChanged(s);
    // Without the status the filter and mode are unknown, and the shift and
    // bandwidth settings below would be sent on a guess: the panel shows "?"
    // and sends nothing.
    if (!NRD535A || !NRD535A->lastReadOk())
        return;
    const Nrd535Status st = parseNrd535Status(s);

    if (st.mode == 5) { // NFM: no AGC, no filters, no shift
        for (QPushButton *b : cmdAgcspeed)
            b->setEnabled(false);
        lblAgcspeed->clear();
        vsbBandwidthcontrol->setEnabled(false);
        lblBandwidthcontrol->clear();
        vsbPassbandshift->setEnabled(false);
        lblPassbandshift->clear();
        fraFilters->setEnabled(false);
        lblBandwidth->clear();
        return;
    }
    for (QPushButton *b : cmdAgcspeed)
        b->setEnabled(true);
    NRD535A_AgcspeedChanged(int16_t(st.agc));
    fraFilters->setEnabled(true);

    // The sliders' settings need the receiver held in remote; while dial
    // following leaves its dial to the listener it is not.
    if (!JrcDriver::remoteHeld())
        return;

    vsbPassbandshift->setEnabled(true);
    vsbPassbandshift->setValue(0);
    NRD535A->setPassBandShift(0);
    if (!NRD535A)
        return;

    const bool bwc = settingOn(Setting::Nrd535BwcFitted);
    if ((st.bandwidth == 0 || st.bandwidth == 1) && bwc) {
        const int top = st.bandwidth == 0 ? 5500 : 2200;
        const int bottom = st.bandwidth == 0 ? 2000 : 500;
        vsbBandwidthcontrol->setEnabled(true);
        vsbBandwidthcontrol->setEnds(top, bottom);
        vsbBandwidthcontrol->setValue(top);
        if (NRD535A)
            NRD535A->setBandwidthcontrol(int16_t(top));
    } else if (st.bandwidth == 2 || st.bandwidth == 3) {
        vsbBandwidthcontrol->setEnabled(false);
        lblBandwidthcontrol->clear();
    }
}

// ---- buttons ----

void frmNRD535::cmdAttenuator_Click(int index)
{
    if (NRD535A)
        NRD535A->setAttenuator(int16_t(index));
}

void frmNRD535::cmdAgcspeed_Click(int index)
{
    if (NRD535A)
        NRD535A->setAgcspeed(int16_t(index));
}

void frmNRD535::cmdNoiseblanker_Click(int index)
{
    if (NRD535A)
        NRD535A->setNoiseblanker(int16_t(index));
}

void frmNRD535::cmdMode_Click(int index)
{
    if (!NRD535A || !NRD535A->setMode(int16_t(index)))
        return;
    Busy busy(this);
    Delay(100);
    RxUpdatefull();
}

void frmNRD535::cmdBandwidth_Click(int index)
{
    if (NRD535A && NRD535A->setBandwidth(int16_t(index)))
        RxUpdatefull();
}

void frmNRD535::cmdPowerOnOff_Click()
{
    if (NRD535A && NRD535A->setPowerOnOff(int16_t(1 - m_power)))
        m_power = int16_t(1 - m_power);
}

void frmNRD535::lblPassbandshift_Click()
{
    if (vsbPassbandshift->isEnabled())
        vsbPassbandshift->setValue(0);
}

void frmNRD535::recallMemory(int cell)
{
    if (NRD535A && NRD535A->setRx2Mem(int16_t(cell)))
        RxUpdatebasics();
}

// ---- display handlers ----

void frmNRD535::NRD535A_PoweronoffChanged(int16_t v) { setBackColor(cmdPowerOnOff, v == 1 ? kGreen : kGrey); }

void frmNRD535::NRD535A_LockChanged(int16_t v) { lock->showLock(v); }

void frmNRD535::NRD535A_RxStatusChanged(const QString &status)
{
    const Nrd535Status st = parseNrd535Status(status);
    lblAttenuator->setText(nrd535AttenuatorText(st.attenuator));
    NRD535A_BandwidthChanged(int16_t(st.bandwidth));
    NRD535A_ModeChanged(int16_t(st.mode));
    NRD535A_AgcspeedChanged(int16_t(st.agc));
    // Shown as the receiver reports it; the tools hear of it at the next tuning.
    showFrequencyText(st.khz ? fixedFormat(*st.khz, 1, 3) : QStringLiteral("?"));
}

void frmNRD535::NRD535A_AttenuatorChanged(int16_t v) { lblAttenuator->setText(nrd535AttenuatorText(v)); }

void frmNRD535::NRD535A_BandwidthChanged(int16_t v)
{
    lblBandwidth->setText(nrd535NameText(v, 3, v >= 0 && v < G.bwnames.size() ? G.bwnames[v] : QString()));
}

void frmNRD535::NRD535A_ModeChanged(int16_t v)
{
    const int hi = ecssFitted() ? 8 : 6;
    lblMode->setText(nrd535NameText(v, hi, v >= 0 && v <= 10 ? G.modenames[size_t(v)] : QString()));
}

void frmNRD535::NRD535A_AgcspeedChanged(int16_t v)
{
    lblAgcspeed->setText(nrd535NameText(v, 2, v >= 0 && v <= 10 ? G.agcnames[size_t(v)] : QString()));
}

void frmNRD535::NRD535A_NoiseblankerChanged(int16_t v)
{
    lblNoiseblanker->setText(nrd535NameText(v, 2, v >= 0 && v <= 10 ? G.nbnames[size_t(v)] : QString()));
}

void frmNRD535::NRD535A_BandwidthcontrolChanged(int16_t v)
{
    lblBandwidthcontrol->setText(nrd535NumberText(v, 500, 5500));
}

void frmNRD535::NRD535A_PassbandshiftChanged(int16_t v)
{
    lblPassbandshift->setText(nrd535NumberText(v, -2000, 2000));
}

void frmNRD535::NRD535A_FrequencyAChanged(double khz) { showFrequency(khz); }

// ---- keys ----

void frmNRD535::sliderKey(VScroll *bar, int value, bool (clsNRD535::*send)(int16_t))
{
    bar->setValue(value);
    // The key sends the slider's value once more, changed or not.
    if (NRD535A)
        (NRD535A.get()->*send)(int16_t(bar->value()));
}

bool frmNRD535::sliderKeysAct() const
{
    // The keys are the sliders' own: the user's lock, and the receiver held
    // as the sliders need it (not while dial following leaves the dial to
    // the listener, where the sliders are off and blank).
    return G.panellock == 1 && JrcDriver::remoteHeld();
}

bool frmNRD535::modelKey(int keyCode, Modifier mod)
{
    switch (mod) {
    case ModShift: {
        // Filters and modes, also on buttons the options have disabled.
        if (keyCode >= KeyF1 && keyCode <= KeyF1 + 3) {
            static const int filter[] = {2, 1, 0, 3};
            cmdBandwidth_Click(filter[keyCode - KeyF1]);
            return true;
        }
        static const struct {
            char key;
            int mode;
        } modes[] = {{'A', 4}, {'C', 1}, {'F', 5}, {'L', 3}, {'U', 2}, {'R', 0}, {'X', 6}, {'P', 7}, {'M', 8}};
        for (const auto &m : modes)
            if (keyCode == m.key) {
                cmdMode_Click(m.mode);
                return true;
            }
        if (!sliderKeysAct())
            return false;
        std::optional<PbsKey> k;
        if (keyCode == KeyEqual)
            k = PbsKey::Up;
        else if (keyCode == KeyMinus)
            k = PbsKey::Down;
        else if (keyCode == Key0)
            k = PbsKey::Zero;
        if (!k)
            return false;
        sliderKey(vsbPassbandshift, nrd535PbsKey(*k, vsbPassbandshift->value()), &clsNRD535::setPassBandShift);
        return true;
    }
    case ModCtrl: {
        if (keyCode < KeyF1 || keyCode > KeyF1 + 3 || !sliderKeysAct())
            return false;
        const int lo = vsbBandwidthcontrol->minimum(), hi = vsbBandwidthcontrol->maximum();
        const std::optional<int> v =
            nrd535BwcKey(keyCode - KeyF1 + 1, lblBandwidth->text(), vsbBandwidthcontrol->value(), lo, hi);
        sliderKey(vsbBandwidthcontrol, v.value_or(vsbBandwidthcontrol->value()), &clsNRD535::setBandwidthcontrol);
        return true;
    }
    case ModCtrlShift: return lock->ctrlShiftKey(keyCode);
    default: return false;
    }
}

// ---- Direct menu ----

void frmNRD535::buildDirectMenu(QMenu *menu)
{
    mnuUpdate = addMenuEntry(menu, QStringLiteral("mnuUpdate"), QStringLiteral("Update"), [this] { RxUpdatefull(); });
    mnuUpdate->setShortcut(QKeySequence(Qt::Key_F5));
    addDirectEntry(menu, this, DirectEntry::Setup);
    mnuUserdefs = addMenuEntry(menu, QStringLiteral("mnuUserdefs"), QStringLiteral("User Defs . . ."),
                               [] { openFromMenu(WindowId::frmUserdefs, MenuOpen::ShowModal); });
    addMenuSeparator(menu, QStringLiteral("mnuLine11"));
    addDirectEntry(menu, this, DirectEntry::Last20);
    addDirectEntry(menu, this, DirectEntry::MarkFreqs);
    addDirectEntry(menu, this, DirectEntry::Scratchpad);
    addMenuSeparator(menu, QStringLiteral("mnuLine12"));
    mnuRtty = addMenuEntry(menu, QStringLiteral("mnuRtty"), QStringLiteral("RTTY . . ."), [this] { mnuRtty_Click(); });
    addMenuSeparator(menu, QStringLiteral("mnuLine13"));
    addDirectEntry(menu, this, DirectEntry::Close);
    addDirectEntry(menu, this, DirectEntry::Exit);
}

void frmNRD535::mnuRtty_Click()
{
    if (settingOn(Setting::Nrd535RttyFitted)) {
        openFromMenu(WindowId::frmRtty, MenuOpen::Show);
        return;
    }
    // Where the listener says the unit is fitted, in the set-up's own words.
    msgBox(QStringList{QStringLiteral("Reserved for RTTY demodulation"), QStringLiteral("with optional unit CMH-530."),
                       QStringLiteral("With the unit fitted, tick \"RTTY\" under \"NRD-535 options\""),
                       QStringLiteral("in Set Up (Direct menu, \"Set-up . . .\").")},
           MsgIcon::Information, QStringLiteral("RTTY demodulation"));
}

void frmNRD535::showReceiverChange(const RxChange &c)
{
    switch (c.what) {
    case RxChange::Attenuator: NRD535A_AttenuatorChanged(int16_t(c.value)); break;
    case RxChange::PassBandShift: NRD535A_PassbandshiftChanged(int16_t(c.value)); break;
    case RxChange::BandwidthControl: NRD535A_BandwidthcontrolChanged(int16_t(c.value)); break;
    case RxChange::Record: RxUpdatebasics(); break;
    case RxChange::Refresh: RxUpdatefull(); break;
    default: frmPanel::showReceiverChange(c); break;
    }
}

} // namespace tav
