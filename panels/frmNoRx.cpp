#include "panels/frmNoRx.h"
#include "core/setupdata.h"

#include "hub/frmWelcome.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "panels/mainmenu.h"

#include "core/ui.h"
#include "drivers/receiver.h"
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

frmNoRx::frmNoRx() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("No RX"));
    auto *outer = new QVBoxLayout(this);
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName(QStringLiteral("mnuBar"));
    outer->setMenuBar(mnuBar);

    QMenu *direct = addDirectMenu(mnuBar);
    addDirectEntry(direct, this, DirectEntry::Setup);
    addMenuSeparator(direct, QStringLiteral("mnuLine1"));
    addDirectEntry(direct, this, DirectEntry::Last20);
    addDirectEntry(direct, this, DirectEntry::MarkFreqs);
    addDirectEntry(direct, this, DirectEntry::Scratchpad);
    addMenuSeparator(direct, QStringLiteral("mnuLine13"));
    addDirectEntry(direct, this, DirectEntry::Close);
    addDirectEntry(direct, this, DirectEntry::Exit);
    addMainMenus(mnuBar, this, true);

    auto *row = new QHBoxLayout;
    outer->addLayout(row);

    // The level bars and buttons are there for the look of a receiver panel;
    // none of them is connected to anything.
    Frame2 = makeFrame(QStringLiteral("Frame2"), QStringLiteral("Vol"), this);
    {
        auto *l = new QVBoxLayout(Frame2);
        vsbVolume = new VScroll(QStringLiteral("vsbVolume"), Frame2);
        vsbVolume->setEnds(100, 0);
        vsbVolume->setValue(50);
        lblVolume = makeLabel(QStringLiteral("lblVolume"), QStringLiteral("50"), Frame2);
        lblLinelevel = makeLabel(QStringLiteral("lblLinelevel"), QString(), Frame2);
        l->addWidget(vsbVolume, 1, Qt::AlignHCenter);
        l->addWidget(lblVolume);
        l->addWidget(lblLinelevel);
    }
    row->addWidget(Frame2);

    fraAgcspeed = makeFrame(QStringLiteral("fraAgcspeed"), QStringLiteral("Agc -- Bfo"), this);
    {
        auto *l = new QGridLayout(fraAgcspeed);
        const char *caps[] = {"Slw", "Med", "Fst"};
        for (int i = 0; i < 3; ++i) {
            cmdAgcspeed[i] = arrayButton(QStringLiteral("cmdAgcspeed"), i, QLatin1String(caps[i]), fraAgcspeed);
            l->addWidget(cmdAgcspeed[i], i, 0);
        }
        lblAgcspeed = makeLabel(QStringLiteral("lblAgcspeed"), QStringLiteral("Med"), fraAgcspeed);
        l->addWidget(lblAgcspeed, 3, 0);
        vsbBeatfreqosc = new VScroll(QStringLiteral("vsbBeatfreqosc"), fraAgcspeed);
        l->addWidget(vsbBeatfreqosc, 0, 1, 4, 1);
        lblBeatfreqosc = makeLabel(QStringLiteral("lblBeatfreqosc"), QString(), fraAgcspeed);
        l->addWidget(lblBeatfreqosc, 4, 1);
    }
    row->addWidget(fraAgcspeed);

    Frame1 = makeFrame(QStringLiteral("Frame1"), QStringLiteral("Md"), this);
    {
        auto *l = new QVBoxLayout(Frame1);
        const char *caps[] = {"AM", "USB", "LSB", "CW"};
        for (int i = 0; i < 4; ++i) {
            cmdMode[i] = arrayButton(QStringLiteral("cmdMode"), i, QLatin1String(caps[i]), Frame1);
            l->addWidget(cmdMode[i]);
        }
        lblMode = makeLabel(QStringLiteral("lblMode"), QStringLiteral("AM"), Frame1);
        l->addWidget(lblMode);
    }
    row->addWidget(Frame1);

    fraFilters = makeFrame(QStringLiteral("fraFilters"), QStringLiteral("Bw - Pbs"), this);
    {
        auto *l = new QGridLayout(fraFilters);
        const char *caps[] = {"Aux", "Wid", "Int", "Nar"};
        for (int i = 0; i < 4; ++i) {
            cmdBandwidth[i] = arrayButton(QStringLiteral("cmdBandwidth"), i, QLatin1String(caps[i]), fraFilters);
            l->addWidget(cmdBandwidth[i], i, 0);
        }
        lblBandwidth = makeLabel(QStringLiteral("lblBandwidth"), QStringLiteral("Wid"), fraFilters);
        l->addWidget(lblBandwidth, 4, 0);
        vsbPassbandshift = new VScroll(QStringLiteral("vsbPassbandshift"), fraFilters);
        l->addWidget(vsbPassbandshift, 0, 1, 4, 1);
        lblPassbandshift = makeLabel(QStringLiteral("lblPassbandshift"), QString(), fraFilters);
        l->addWidget(lblPassbandshift, 4, 1);
    }
    row->addWidget(fraFilters);

    fraAttenuator = makeFrame(QStringLiteral("fraAttenuator"), QStringLiteral("Att"), this);
    {
        auto *l = new QVBoxLayout(fraAttenuator);
        cmdAttenuator[0] = arrayButton(QStringLiteral("cmdAttenuator"), 0, QStringLiteral("-20"), fraAttenuator);
        cmdAttenuator[1] = arrayButton(QStringLiteral("cmdAttenuator"), 1, QStringLiteral("0"), fraAttenuator);
        l->addWidget(cmdAttenuator[0]);
        l->addWidget(cmdAttenuator[1]);
        lblAttenuator = makeLabel(QStringLiteral("lblAttenuator"), QString(), fraAttenuator);
        l->addWidget(lblAttenuator);
        l->addStretch();
    }
    row->addWidget(fraAttenuator);

    fraFreqA = makeFrame(QStringLiteral("fraFreqA"), QStringLiteral("Freq A : 10 k - 30 M"), this);
    {
        auto *l = new QGridLayout(fraFreqA);
        txtFrequencyA = new QLineEdit(QStringLiteral("1234.56"), fraFreqA);
        txtFrequencyA->setObjectName(QStringLiteral("txtFrequencyA"));
        txtFrequencyA->installEventFilter(this);
        l->addWidget(txtFrequencyA, 0, 0, 1, 3);
        cmbFreqstep = makeEntryCombo(QStringLiteral("cmbFreqstep"), fraFreqA);
        l->addWidget(cmbFreqstep, 1, 0, 1, 2);
        spnFreqstep = new SpinButton(QStringLiteral("spnFreqstep"), fraFreqA);
        l->addWidget(spnFreqstep, 1, 2);
        // Keypad: 7 8 9 / 4 5 6 / 1 2 3 / 0 . <-
        for (int d = 0; d <= 9; ++d)
            cmd0to9[d] = arrayButton(QStringLiteral("cmd0to9"), d, QString::number(d), fraFreqA);
        for (int d = 1; d <= 9; ++d)
            l->addWidget(cmd0to9[d], 2 + (9 - d) / 3, (d - 1) % 3);
        l->addWidget(cmd0to9[0], 5, 0);
        cmdDot = makeButton(QStringLiteral("cmdDot"), QStringLiteral("."), fraFreqA);
        l->addWidget(cmdDot, 5, 1);
        cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("<-"), fraFreqA);
        l->addWidget(cmdBack, 5, 2);
        cmdEnterfreq = makeButton(QStringLiteral("cmdEnterfreq"), QStringLiteral("Enter"), fraFreqA);
        l->addWidget(cmdEnterfreq, 6, 0, 1, 3);
        lblMfreq = makeLabel(QStringLiteral("lblMfreq"), QString(), fraFreqA);
        l->addWidget(lblMfreq, 7, 0, 1, 3);
    }
    row->addWidget(fraFreqA);

    cmdClose = makeButton(QStringLiteral("cmdClose"), QStringLiteral("Close"), this);
    outer->addWidget(cmdClose, 0, Qt::AlignRight);
    connect(cmdClose, &QPushButton::clicked, this, &frmNoRx::cmdClose_Click);
}

void frmNoRx::Form_Load()
{
    const int k = int(std::clamp<int64_t>(roundHalfEven(setting(Setting::StartStep)), 0, 3));
    cmbFreqstep->clear();
    cmbFreqstep->setEditText(numSingle(G.stepdefaults[k]));
    // The last-20 window records from the start, hidden.
    if (TavForm *last20 = Windows::get(WindowId::frmLast20))
        last20->load();
}

void frmNoRx::Form_Unload()
{
    UnloadTools();
    frmWelcome::instance()->showModeless();
}

void frmNoRx::txtFrequencyA_DblClick() { txtFrequencyA->clear(); }

void frmNoRx::cmdClose_Click() { closeAsked(); }

bool frmNoRx::eventFilter(QObject *obj, QEvent *ev)
{
    if (obj == txtFrequencyA && ev->type() == QEvent::MouseButtonDblClick) {
        txtFrequencyA_DblClick();
        return true;
    }
    return TavForm::eventFilter(obj, ev);
}

} // namespace tav
