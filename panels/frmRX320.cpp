#include "panels/frmRX320.h"
#include "core/setupdata.h"

#include "core/form.h"
#include "core/comm.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "panels/mainmenu.h"
#include "panels/rx320state.h"

#include "core/ui.h"
#include "drivers/clsRX320.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

namespace {

frmPanel::PanelTraits rx320Traits()
{
    frmPanel::PanelTraits t;
    t.firstStep = 0;
    t.decimals = 3;
    t.smallestStep = 0.001;
    t.enterFreqMessage = {QStringLiteral("Frequency outside range")};
    t.bwLow = 0;
    t.bwHigh = 33;
    t.lineSettings = QStringLiteral("1200,N,8,1");
    t.hasEnterMem = false;
    return t;
}



QString stateFile() { return G.datapath + QStringLiteral("rx320settings.ini"); }

} // namespace

frmRX320::frmRX320() : frmPanel(windowId, rx320Traits())
{
    setWindowTitle(QStringLiteral("RX-320"));
    if (auto *fra = findChild<QGroupBox *>(QStringLiteral("fraFreqA")))
        fra->setTitle(QStringLiteral("Freq A : 100 k - 30 M"));

    auto *area = modelArea();
    auto *lay = new QHBoxLayout(area);
    lay->setContentsMargins(0, 0, 0, 0);

    auto *fraBw = makeFrame("fraBandwidth", "Bw ---------------------- Pbs", area);
    auto *bw = new QGridLayout(fraBw);
    static const char *ranges[] = {"4-8k", "2-4k", "1-2k", "<1k"};
    for (int r = 0; r < 4; ++r) {
        cmdBwrange[r] = panelButton(QStringLiteral("cmdBwrange"), r, QLatin1String(ranges[r]), fraBw);
        bw->addWidget(cmdBwrange[r], r, 0);
        connect(cmdBwrange[r], &QPushButton::clicked, this, [this, r] { cmdBwrange_Click(r); });
    }
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    for (int b = 0; b < 10; ++b) {
        cmdBwgroup[b] = panelButton(QStringLiteral("cmdBwgroup"), b, QString(), fraBw);
        cmdBwgroup[b]->setFont(small);
        bw->addWidget(cmdBwgroup[b], b % 5, 1 + b / 5);
        connect(cmdBwgroup[b], &QPushButton::clicked, this, [this, b] { cmdBwgroup_Click(b); });
    }
    lblBandwidth = makeLabel(QStringLiteral("lblBandwidth"), QString(), fraBw);
    bw->addWidget(lblBandwidth, 5, 0, 1, 3);
    vsbPassbandshift = barWithLabel("vsbPassbandshift", 2000, -2000, 50, 200, lblPassbandshift, "lblPassbandshift", fraBw);
    bw->addWidget(vsbPassbandshift, 0, 3, 5, 1);
    bw->addWidget(lblPassbandshift, 5, 3);
    lay->addWidget(fraBw);

    auto *fraAgc = makeFrame("fraAgcspeed", "Agc -- Bfo", area);
    auto *ag = new QGridLayout(fraAgc);
    static const char *agcs[] = {"Slw", "Med", "Fst"};
    for (int i = 0; i < 3; ++i) {
        cmdAgcspeed[i] = panelButton(QStringLiteral("cmdAgcspeed"), i, QLatin1String(agcs[i]), fraAgc);
        ag->addWidget(cmdAgcspeed[i], i, 0);
        connect(cmdAgcspeed[i], &QPushButton::clicked, this, [this, i] { cmdAgcspeed_Click(i); });
    }
    lblAgcspeed = makeLabel(QStringLiteral("lblAgcspeed"), QString(), fraAgc);
    ag->addWidget(lblAgcspeed, 3, 0);
    vsbBeatfreqosc = barWithLabel("vsbBeatfreqosc", 3000, -3000, 50, 300, lblBeatfreqosc, "lblBeatfreqosc", fraAgc);
    ag->addWidget(vsbBeatfreqosc, 0, 1, 3, 1);
    ag->addWidget(lblBeatfreqosc, 3, 1);
    lay->addWidget(fraAgc);

    auto *fraVol = makeFrame("fraVolume", "Vol - Line", area);
    auto *vl = new QGridLayout(fraVol);
    vsbVolume = barWithLabel("vsbVolume", 99, 0, 2, 10, lblVolume, "lblVolume", fraVol);
    vsbLinelevel = barWithLabel("vsbLinelevel", 99, 0, 2, 10, lblLinelevel, "lblLinelevel", fraVol);
    vl->addWidget(vsbVolume, 0, 0);
    vl->addWidget(vsbLinelevel, 0, 1);
    vl->addWidget(lblVolume, 1, 0);
    vl->addWidget(lblLinelevel, 1, 1);
    lblMute = new ClickLabel(QStringLiteral("lblMute"), QStringLiteral("Mute"), fraVol);
    lblMute->setAlignment(Qt::AlignCenter);
    vl->addWidget(lblMute, 2, 0, 1, 2);
    lay->addWidget(fraVol);

    auto *fraMode = makeFrame("fraMode", "Md", area);
    auto *md = new QVBoxLayout(fraMode);
    static const char *modes[] = {"AM", "USB", "LSB", "CW"};
    for (int i = 0; i < 4; ++i) {
        cmdMode[i] = panelButton(QStringLiteral("cmdMode"), i, QLatin1String(modes[i]), fraMode);
        md->addWidget(cmdMode[i]);
        connect(cmdMode[i], &QPushButton::clicked, this, [this, i] { cmdMode_Click(i); });
    }
    lblMode = makeLabel(QStringLiteral("lblMode"), QString(), fraMode);
    md->addWidget(lblMode);
    lay->addWidget(fraMode);

    // A bar's change handling sends its value, whoever moved it.
    connect(vsbPassbandshift, &QScrollBar::valueChanged, this,
            [this](int v) { if (RX320A) RX320A->setPassBandShift(v); });
    connect(vsbBeatfreqosc, &QScrollBar::valueChanged, this, [this](int v) { if (RX320A) RX320A->setBeatfreqosc(v); });
    connect(vsbVolume, &QScrollBar::valueChanged, this, [this](int v) { if (RX320A) RX320A->setVolume(v); });
    connect(vsbLinelevel, &QScrollBar::valueChanged, this, [this](int v) { if (RX320A) RX320A->setLinelevel(v); });
    auto zero = [](VScroll *bar) {
        if (bar->isEnabled())
            bar->setValue(0);
    };
    connect(lblPassbandshift, &ClickLabel::clicked, this, [=, this] { zero(vsbPassbandshift); });
    connect(lblBeatfreqosc, &ClickLabel::clicked, this, [=, this] { zero(vsbBeatfreqosc); });
    connect(lblVolume, &ClickLabel::clicked, this, [=, this] { zero(vsbVolume); });
    connect(lblLinelevel, &ClickLabel::clicked, this, [=, this] { zero(vsbLinelevel); });
    connect(lblMute, &ClickLabel::clicked, this, &frmRX320::lblMute_Click);

    // The filter group table.
    static const int16_t table[4][10] = {{33, 0, 1, 2, 3, 4, 5, 6, -1, -1},
                                         {7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
                                         {17, 18, 19, 20, 21, 22, 23, -1, -1, -1},
                                         {24, 25, 26, 27, 28, 29, 30, 31, 32, -1}};
    for (int r = 0; r < 4; ++r)
        for (int b = 0; b < 10; ++b)
            bwgroups[r][b] = table[r][b];
}

VScroll *frmRX320::barWithLabel(const char *name, int top, int bottom, int small, int large, ClickLabel *&label,
                            const char *labelName, QWidget *parent)
{
    label = new ClickLabel(QLatin1String(labelName), QString(), parent);
    label->setMinimumWidth(kValueLabelWidth);
    return makePanelBar(QLatin1String(name), top, bottom, small, large, parent);
}

int frmRX320::rangeOfFilter(int filter)
{
    if ((filter >= 0 && filter <= 6) || filter == 33)
        return 0;
    if (filter >= 7 && filter <= 16)
        return 1;
    if (filter >= 17 && filter <= 23)
        return 2;
    if (filter >= 24 && filter <= 32)
        return 3;
    return 0;
}

// ---- load and unload ----

void frmRX320::initTablesAndDriver()
{
    RX320A = std::make_unique<clsRX320>(rxPort());
    InitRX320();
    clsRX320 *d = RX320A.get();
    connect(d, &clsRX320::FrequencyAChanged, this, &frmRX320::RX320A_FrequencyAChanged);
    connect(d, &clsRX320::BandwidthChanged, this, &frmRX320::RX320A_BandwidthChanged);
    connect(d, &clsRX320::ModeChanged, this, &frmRX320::RX320A_ModeChanged);
    connect(d, &clsRX320::AgcspeedChanged, this, &frmRX320::RX320A_AgcspeedChanged);
    connect(d, &clsRX320::VolumeChanged, this, &frmRX320::RX320A_VolumeChanged);
    connect(d, &clsRX320::LinelevelChanged, this, &frmRX320::RX320A_LinelevelChanged);
    connect(d, &clsRX320::PassbandshiftChanged, this, &frmRX320::RX320A_PassbandshiftChanged);
    connect(d, &clsRX320::BeatfreqoscChanged, this, &frmRX320::RX320A_BeatfreqoscChanged);
    // The mute lasts while the program runs: the label shows the state held.
    showMuteColour();
    setBackColor(lblMute, 0x800000);
}

void frmRX320::releaseDriver() { RX320A.reset(); }

bool frmRX320::setDriverFrequency(double khz)
{
    return RX320A && RX320A->setFrequencyA(khz);
}

void frmRX320::modelSetup()
{
    RX320A->setLinelevel(settingInt(Setting::Rx320LineLevel));
    if (setting(Setting::Rx320LineBarOff) == 1)
        setLineOutEnabled(false);
}

void frmRX320::readReceiverState()
{
    rx320state::read(stateFile());
    RX320A->setBandwidth(G.rx320filter);
    RX320A->setAgcspeed(G.rx320agc);
    RX320A->setVolume(G.rx320volume);
    RX320A->setLinelevel(G.rx320linelevel);
    RX320A->setMode(G.rx320mode);
    RX320A->setPassBandShift(G.rx320pbs);
    RX320A->setBeatfreqosc(G.rx320bfo);
    RX320A->setFrequencyA(G.rx320freq);
    showGroup(rangeOfFilter(G.rx320filter));
}

void frmRX320::modelUnload()
{
    QString error;
    if (!rx320state::write(stateFile(), &error))
        msgBox(QStringList{QStringLiteral("The RX-320 state could not be saved:"), error}, MsgIcon::Exclamation,
               QStringLiteral("Error"));
    // The tools go first: one that sets the receiver as it closes must
    // neither write through a released driver nor undo the exit mutes.
    UnloadTools();
    if (RX320A) {
        if (setting(Setting::Rx320MuteSpeaker) == 1)
            RX320A->setVolume(0);
        if (setting(Setting::Rx320MuteLine) == 1)
            RX320A->setLinelevel(0);
    }
}

// ---- display handlers ----

void frmRX320::RX320A_FrequencyAChanged(double khz) { showFrequency(khz); }

void frmRX320::RX320A_BandwidthChanged(int v)
{
    lblBandwidth->setText(v >= 0 && v < G.bwnames.size() ? QLatin1Char(' ') + G.bwnames[v] : QStringLiteral("?"));
}

void frmRX320::RX320A_ModeChanged(int v)
{
    lblMode->setText(v >= 0 && v <= 3 ? G.modenames[size_t(v)] : QStringLiteral("?"));
    const bool cw = v >= 3;
    vsbBeatfreqosc->setEnabled(cw);
    lblBeatfreqosc->setEnabled(cw);
}

void frmRX320::RX320A_AgcspeedChanged(int v)
{
    lblAgcspeed->setText(v >= 1 && v <= 3 ? G.agcnames[size_t(v)] : QStringLiteral("?"));
}

namespace {
void showSigned(VScroll *bar, QLabel *label, int v, int limit)
{
    if (v > limit || v < -limit) {
        label->setText(QStringLiteral("?"));
        return;
    }
    label->setText(numDouble(v));
    bar->showValue(v);
}
void showLevel(VScroll *bar, QLabel *label, int v)
{
    if (v < 0 || v > 99) {
        label->setText(QStringLiteral("?"));
        return;
    }
    bar->showValue(v);
    label->setText(padded(v, 2));
}
} // namespace

void frmRX320::RX320A_PassbandshiftChanged(int v) { showSigned(vsbPassbandshift, lblPassbandshift, v, 2000); }
void frmRX320::RX320A_BeatfreqoscChanged(int v) { showSigned(vsbBeatfreqosc, lblBeatfreqosc, v, 3000); }
void frmRX320::RX320A_VolumeChanged(int v) { showLevel(vsbVolume, lblVolume, v); }
void frmRX320::RX320A_LinelevelChanged(int v) { showLevel(vsbLinelevel, lblLinelevel, v); }

// ---- buttons, labels, menu ----

void frmRX320::showGroup(int r)
{
    currentrange = int16_t(r);
    for (int b = 0; b < 10; ++b) {
        const int f = bwgroups[size_t(r)][size_t(b)];
        QPushButton *btn = cmdBwgroup[size_t(b)];
        if (f >= 0) {
            btn->setEnabled(true);
            btn->setText(f < G.bwnames.size() ? QLatin1Char(' ') + G.bwnames[f] : QString());
        } else {
            btn->setText(QString());
            btn->setEnabled(false);
        }
    }
}

void frmRX320::cmdBwrange_Click(int r)
{
    if (r < 0 || r > 3)
        return;
    // The group shown is the one of the filter the receiver has, unless it
    // takes the new group's filter.
    const int shown = currentrange;
    showGroup(r);
    if (!cmdBwgroup_Click(3) && rxPort().lost())
        showGroup(shown);
}

bool frmRX320::cmdBwgroup_Click(int b)
{
    if (!RX320A || b < 0 || b > 9)
        return false;
    const int f = bwgroups[size_t(currentrange)][size_t(b)];
    return f >= 0 && RX320A->setBandwidth(f);
}

void frmRX320::cmdMode_Click(int i) { if (RX320A) RX320A->setMode(i); }
void frmRX320::cmdAgcspeed_Click(int i) { if (RX320A) RX320A->setAgcspeed(i + 1); }

void frmRX320::showMuteColour() { setForeColor(lblMute, G.rx320mutestate == 1 ? kRed : kGreen); }

void frmRX320::lblMute_Click()
{
    const bool lineOut = setting(Setting::Rx320LineBarOff) == 0;
    if (G.rx320mutestate == 0) {
        // A label showing "?" saves 0.
        const int16_t volume = int16_t(roundHalfEven(numericValue(lblVolume->text())));
        vsbVolume->setValue(0);
        // A volume the line did not take (the bar went back) mutes nothing.
        if (vsbVolume->value() != 0)
            return;
        G.rx320mutestate = 1;
        G.rx320mutevolume = volume;
        if (lineOut) {
            G.rx320muteline = int16_t(roundHalfEven(numericValue(lblLinelevel->text())));
            vsbLinelevel->setValue(0);
        }
    } else {
        vsbVolume->setValue(G.rx320mutevolume);
        if (vsbVolume->value() != G.rx320mutevolume)
            return;
        G.rx320mutestate = 0;
        if (lineOut)
            vsbLinelevel->setValue(G.rx320muteline);
    }
    showMuteColour();
}

void frmRX320::setLineOutEnabled(bool on)
{
    vsbLinelevel->setEnabled(on);
    lblLinelevel->setEnabled(on);
    setting(Setting::Rx320LineBarOff) = on ? 0 : 1;
}

void frmRX320::mnuFirmware_Click()
{
    if (!RX320A)
        return;
    showFirmware([this] { return RX320A->firmware(); });
}

void frmRX320::buildDirectMenu(QMenu *m)
{
    addDirectEntry(m, this, DirectEntry::Setup);
    addMenuEntry(m, QStringLiteral("mnuFirmware"), QStringLiteral("Firmware version"), [this] { mnuFirmware_Click(); });
    addMenuSeparator(m, QStringLiteral("mnuLine11"));
    addDirectEntry(m, this, DirectEntry::Last20);
    if (QAction *a = addDirectEntry(m, this, DirectEntry::MarkFreqs))
        a->setText(QStringLiteral("Mark freqs . . . "));
    if (QAction *a = addDirectEntry(m, this, DirectEntry::Scratchpad))
        a->setObjectName(QStringLiteral("mnuSratchpad"));
    addMenuSeparator(m, QStringLiteral("mnuLine12"));
    addMenuEntry(m, QStringLiteral("mnuEnableLine"), QStringLiteral("Enable Line Out"), [this] { setLineOutEnabled(true); });
    addMenuEntry(m, QStringLiteral("mnuDisableLine"), QStringLiteral("Disable Line out"),
                 [this] { setLineOutEnabled(false); });
    addMenuSeparator(m, QStringLiteral("mnuLine14"));
    addDirectEntry(m, this, DirectEntry::Close);
    addDirectEntry(m, this, DirectEntry::Exit);
}

// ---- key rows ----

bool frmRX320::modelKey(int keyCode, Modifier mod)
{
    if (mod == ModShift) {
        if (keyCode >= KeyF1 && keyCode <= KeyF1 + 3) {
            cmdBwrange_Click(3 - (keyCode - KeyF1));
            return true;
        }
        if (keyCode >= KeyF1 + 4 && keyCode <= KeyF8) {
            cmdBwgroup_Click(6 - 2 * (keyCode - KeyF1 - 4));
            return true;
        }
        switch (keyCode) {
        case 'A': cmdMode_Click(0); return true;
        case 'C': cmdMode_Click(3); return true;
        case 'L': cmdMode_Click(2); return true;
        case 'U': cmdMode_Click(1); return true;
        default: break;
        }
        const std::optional<int> v = barKey(keyCode, vsbPassbandshift->value(), 50, -2000, 2000);
        if (!v)
            return false;
        vsbPassbandshift->setValue(*v);
        if (RX320A)
            RX320A->setPassBandShift(vsbPassbandshift->value());
        return true;
    }
    if (mod == ModAlt) {
        const std::optional<int> v = barKey(keyCode, vsbVolume->value(), 5, 0, 99);
        if (!v)
            return false;
        vsbVolume->setValue(*v);
        if (RX320A)
            RX320A->setVolume(vsbVolume->value());
        return true;
    }
    return false;
}

void frmRX320::showReceiverChange(const RxChange &c)
{
    switch (c.what) {
    case RxChange::PassBandShift: RX320A_PassbandshiftChanged(c.value); break;
    case RxChange::LineLevel: RX320A_LinelevelChanged(c.value); break;
    default: frmPanel::showReceiverChange(c); break;
    }
}

} // namespace tav
