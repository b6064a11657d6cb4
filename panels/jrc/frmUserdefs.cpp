#include "panels/jrc/frmUserdefs.h"

#include "core/delay.h"
#include "core/comm.h"
#include "core/numtext.h"
#include "drivers/clsNRD535.h"

#include "core/ui.h"
#include "panels/frmPanel.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cstdlib>

namespace tav {

namespace {

// The default of each item 0..9; -1 for the items this window never sends.
constexpr int kDefaults[10] = {0, 0, 800, -1, 1, -1, 1, 1, 1, 1};
} // namespace

frmUserdefs::frmUserdefs()
    : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("NRD-535 User Definition Settings"));
    setBackColor(this, kLightYellow);
    auto *grid = new QGridLayout(this);

    auto makeGroup = [this, grid](QGroupBox *&frame, OptionGroup *&group, const QString &frameName,
                                  const QString &caption, const QString &optName, const QStringList &texts,
                                  int item, int row, int col) {
        frame = new QGroupBox(caption, this);
        frame->setObjectName(frameName);
        auto *box = new QVBoxLayout(frame);
        group = new OptionGroup(this);
        group->setObjectName(optName);
        for (int i = 0; i < texts.size(); ++i)
            box->addWidget(group->add(i, optName, texts[i], frame));
        connect(group, &OptionGroup::clicked, this, [this, item](int index) { optionClicked(item, index); });
        grid->addWidget(frame, row, col);
    };

    makeGroup(fraRelaymode, optRelaymode, QStringLiteral("fraRelaymode"), QStringLiteral("Relay Mode"),
              QStringLiteral("optRelaymode"),
              {QStringLiteral("Normally Off"), QStringLiteral("Normally On"), QStringLiteral("Squelch-On/Off")}, 0,
              0, 0);
    makeGroup(fraVBTbypass, optVBTbypass, QStringLiteral("fraVBTbypass"), QStringLiteral("VBT bypass"),
              QStringLiteral("optVBTbypass"), {QStringLiteral("Off (default)"), QStringLiteral("On")}, 1, 0, 1);

    fraCWpitch = new QGroupBox(QStringLiteral("CW BFO Pitch"), this);
    fraCWpitch->setObjectName(QStringLiteral("fraCWpitch"));
    {
        auto *row = new QHBoxLayout(fraCWpitch);
        spnCWpitch = new SpinButton(QStringLiteral("spnCWpitch"), fraCWpitch);
        lblCWpitch = valueLabel(makeLabel(QStringLiteral("lblCWpitch"), QStringLiteral("+0800"), fraCWpitch));
        cmdCWpitch = makeButton(QStringLiteral("cmdCWpitch"), QStringLiteral("Set"), fraCWpitch);
        row->addWidget(spnCWpitch);
        row->addWidget(lblCWpitch);
        row->addWidget(cmdCWpitch);
    }
    grid->addWidget(fraCWpitch, 1, 0);

    makeGroup(fraSmeterdisplay, optSmeterdisplay, QStringLiteral("fraSmeterdisplay"),
              QStringLiteral("S-meter display"), QStringLiteral("optSmeterdisplay"),
              {QStringLiteral("Single segment"), QStringLiteral("Bar Graph")}, 4, 1, 1);
    makeGroup(fraFreqshift, optFreqshift, QStringLiteral("fraFreqshift"), QStringLiteral("SSB Freq. Display"),
              QStringLiteral("optFreqshift"), {QStringLiteral("1.5 kHz shift"), QStringLiteral("No shift")}, 6, 2, 0);
    makeGroup(fra10Hzdisplay, opt10Hzdisplay, QStringLiteral("fra10Hzdisplay"), QStringLiteral("10 Hz Digit Display"),
              QStringLiteral("opt10Hzdisplay"), {QStringLiteral("Off"), QStringLiteral("On")}, 7, 2, 1);
    makeGroup(fraColonblink, optColonblink, QStringLiteral("fraColonblink"), QStringLiteral("Clock Colon Blinking"),
              QStringLiteral("optColonblink"), {QStringLiteral("Off"), QStringLiteral("On")}, 8, 3, 0);
    makeGroup(fraBeeponkey, optBeeponkey, QStringLiteral("fraBeeponkey"), QStringLiteral("Beep on KeyPress"),
              QStringLiteral("optBeeponkey"), {QStringLiteral("Off"), QStringLiteral("On")}, 9, 3, 1);

    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), this);
    cmdDefaults = makeButton(QStringLiteral("cmdDefaults"), QStringLiteral("Reset to Defaults"), this);
    for (QPushButton *b : {cmdOK, cmdDefaults})
        setBackColor(b, kYellow);
    grid->addWidget(cmdDefaults, 4, 0);
    grid->addWidget(cmdOK, 4, 1);

    connect(spnCWpitch, &SpinButton::SpinDown, this, &frmUserdefs::spnCWpitch_SpinDown);
    connect(spnCWpitch, &SpinButton::SpinUp, this, &frmUserdefs::spnCWpitch_SpinUp);
    connect(cmdCWpitch, &QPushButton::clicked, this, &frmUserdefs::cmdCWpitch_Click);
    connect(cmdDefaults, &QPushButton::clicked, this, &frmUserdefs::cmdDefaults_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmUserdefs::cmdOK_Click);
}

frmUserdefs::~frmUserdefs() = default;

void frmUserdefs::Form_Load()
{
    NRD535A = std::make_unique<clsNRD535>(rxPort());
    cwpitch = 800;
    showPitch();
    // Nothing can be read back: every group starts without a choice, and the
    // bypass is switched off so that it matches what the window shows.
    for (int item = 0; item < 10; ++item)
        if (OptionGroup *g = groupOf(item))
            for (int i = 0; i < g->count(); ++i)
                g->button(i)->setChecked(false);
    optVBTbypass->select(0);
    if (NRD535A->setUserdefs(1, 0))
        colourPanelAttenuator(false);
}

void frmUserdefs::Form_Unload() { NRD535A.reset(); }

OptionGroup *frmUserdefs::groupOf(int item) const
{
    switch (item) {
    case 0: return optRelaymode;
    case 1: return optVBTbypass;
    case 4: return optSmeterdisplay;
    case 6: return optFreqshift;
    case 7: return opt10Hzdisplay;
    case 8: return optColonblink;
    case 9: return optBeeponkey;
    default: return nullptr;
    }
}

void frmUserdefs::optionClicked(int item, int index)
{
    if (!NRD535A)
        return;
    // Reset to Defaults has sent the value itself just before selecting.
    // What the receiver did not take is neither selected nor painted.
    if (!m_resetting && !NRD535A->setUserdefs(int16_t(item), int16_t(index))) {
        groupOf(item)->putBack();
        return;
    }
    if (item == 1)
        colourPanelAttenuator(index == 1);
}

QString frmUserdefs::pitchText(int pitch)
{
    return (pitch < 0 ? QStringLiteral("-") : QStringLiteral("+")) + padded(std::abs(pitch), 4);
}

void frmUserdefs::showPitch()
{
    lblCWpitch->setText(pitchText(cwpitch));
    lblCWpitch->repaint();
}

void frmUserdefs::spnCWpitch_SpinDown()
{
    cwpitch = int16_t(cwpitch - 25 < -5000 ? -5000 : cwpitch - 25);
    showPitch();
}

void frmUserdefs::spnCWpitch_SpinUp()
{
    cwpitch = int16_t(cwpitch + 25 > 5000 ? 5000 : cwpitch + 25);
    showPitch();
}

void frmUserdefs::cmdCWpitch_Click()
{
    if (NRD535A)
        NRD535A->setUserdefs(2, cwpitch);
}

void frmUserdefs::cmdDefaults_Click()
{
    if (!NRD535A)
        return;
    Busy busy(this);
    HourglassGuard hourglass;
    for (int item = 0; item < 10; ++item) {
        Delay(20);
        if (!NRD535A)
            return;
        const int def = kDefaults[item];
        if (def < 0)
            continue;
        // A default the receiver did not take ends the run.
        if (!NRD535A->setUserdefs(int16_t(item), int16_t(def)))
            return;
        if (OptionGroup *g = groupOf(item)) {
            m_resetting = true;
            g->select(def);
            m_resetting = false;
        }
        if (item == 1)
            colourPanelAttenuator(false);
        if (item == 2) {
            cwpitch = 800;
            showPitch();
        }
    }
}

void frmUserdefs::cmdOK_Click() { unload(); }

void frmUserdefs::colourPanelAttenuator(bool bypassOn)
{
    if (auto *panel = Windows::existing<frmPanel>(WindowId::frmNRD535))
        panel->setAttenuatorLabelColour(bypassOn ? kOrange : kLightYellow);
}

} // namespace tav
