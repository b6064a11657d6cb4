#include "panels/jrc/frmAdvancedDSP.h"
#include "core/setupdata.h"

#include "core/comm.h"
#include "core/numtext.h"
#include "drivers/clsNRD545.h"
#include "drivers/receiver.h"
#include "panels/nrd545text.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tav {

namespace {

const QStringList &nrbcNames()
{
    static const QStringList n = {QStringLiteral("Off"), QStringLiteral("NR"), QStringLiteral("BC")};
    return n;
}
const QStringList &nbNames()
{
    static const QStringList n = {QStringLiteral("Off"), QStringLiteral("NB1"), QStringLiteral("NB2")};
    return n;
}
const QStringList &ntNames()
{
    static const QStringList n = {QStringLiteral("Off"), QStringLiteral("N"), QStringLiteral("NT")};
    return n;
}

int clampLevel(float v)
{
    const int64_t r = roundHalfEven(double(v));
    return int(r < 0 ? 0 : (r > 255 ? 255 : r));
}

} // namespace

frmAdvancedDSP::frmAdvancedDSP() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Advanced DSP"));
    auto *outer = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    outer->addLayout(row);

    // NR/BC
    auto *fraNrbc = new QGroupBox(QStringLiteral("NR/BC"), this);
    fraNrbc->setObjectName(QStringLiteral("fraNrbc"));
    auto *g1 = new QGridLayout(fraNrbc);
    for (int i = 0; i < 3; ++i) {
        cmdNrbc[size_t(i)] = makeButton(QStringLiteral("cmdNrbc(%1)").arg(i), nrbcNames()[i], fraNrbc);
        g1->addWidget(cmdNrbc[size_t(i)], 0, i);
        connect(cmdNrbc[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdNrbc_Click(i); });
    }
    lblNrbc = makeValueLabel(QStringLiteral("lblNrbc"), fraNrbc);
    g1->addWidget(lblNrbc, 1, 0, 1, 3);
    vsbNR = makeBar(QStringLiteral("vsbNR"), 0, 255, 1, 5, fraNrbc);
    vsbBC = makeBar(QStringLiteral("vsbBC"), 255, 0, 1, 5, fraNrbc);
    g1->addWidget(vsbNR, 2, 0);
    g1->addWidget(vsbBC, 2, 2);
    lblNR = makeValueLabel(QStringLiteral("lblNR"), fraNrbc);
    lblBC = makeValueLabel(QStringLiteral("lblBC"), fraNrbc);
    g1->addWidget(lblNR, 3, 0);
    g1->addWidget(lblBC, 3, 2);
    cmdDefaultNRBC = makeButton(QStringLiteral("cmdDefaultNRBC"), QStringLiteral("Def"), fraNrbc);
    g1->addWidget(cmdDefaultNRBC, 3, 1);
    row->addWidget(fraNrbc);

    // NB
    auto *fraNB = new QGroupBox(QStringLiteral("NB"), this);
    fraNB->setObjectName(QStringLiteral("fraNB"));
    auto *g2 = new QGridLayout(fraNB);
    for (int i = 0; i < 3; ++i) {
        cmdNB[size_t(i)] = makeButton(QStringLiteral("cmdNB(%1)").arg(i), nbNames()[i], fraNB);
        g2->addWidget(cmdNB[size_t(i)], 0, i);
        connect(cmdNB[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdNB_Click(i); });
    }
    lblNB = makeValueLabel(QStringLiteral("lblNB"), fraNB);
    g2->addWidget(lblNB, 1, 0, 1, 3);
    vsbNB = makeBar(QStringLiteral("vsbNB"), 255, 0, 1, 5, fraNB);
    g2->addWidget(vsbNB, 2, 1);
    lblNB2 = makeValueLabel(QStringLiteral("lblNB2"), fraNB);
    g2->addWidget(lblNB2, 3, 1);
    row->addWidget(fraNB);

    // Notch
    auto *fraNT = new QGroupBox(QStringLiteral("Notch"), this);
    fraNT->setObjectName(QStringLiteral("fraNT"));
    auto *g3 = new QGridLayout(fraNT);
    for (int i = 0; i < 3; ++i) {
        cmdNT[size_t(i)] = makeButton(QStringLiteral("cmdNT(%1)").arg(i), ntNames()[i], fraNT);
        g3->addWidget(cmdNT[size_t(i)], 0, i);
        connect(cmdNT[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdNT_Click(i); });
    }
    lblNT = makeValueLabel(QStringLiteral("lblNT"), fraNT);
    g3->addWidget(lblNT, 1, 0, 1, 3);
    vsbNT = makeBar(QStringLiteral("vsbNT"), 1023, -1023, 1, 16, fraNT);
    g3->addWidget(vsbNT, 2, 1);
    lblNT2 = makeValueLabel(QStringLiteral("lblNT2"), fraNT);
    g3->addWidget(lblNT2, 3, 1);
    row->addWidget(fraNT);

    auto *row2 = new QHBoxLayout;
    outer->addLayout(row2);
    auto *fraHold = new QGroupBox(QStringLiteral("Filter hold of NR"), this);
    fraHold->setObjectName(QStringLiteral("fraHoldofnr"));
    auto *h1 = new QHBoxLayout(fraHold);
    optHoldofnr = new OptionGroup(this);
    optHoldofnr->setObjectName(QStringLiteral("optHoldofnr"));
    h1->addWidget(optHoldofnr->add(0, QStringLiteral("optHoldofnr"), QStringLiteral("On"), fraHold));
    h1->addWidget(optHoldofnr->add(1, QStringLiteral("optHoldofnr"), QStringLiteral("Off"), fraHold));
    row2->addWidget(fraHold);
    auto *fraSlope = new QGroupBox(QStringLiteral("IF filter slope"), this);
    fraSlope->setObjectName(QStringLiteral("fraFilterslope"));
    auto *h2 = new QHBoxLayout(fraSlope);
    optFilterslope = new OptionGroup(this);
    optFilterslope->setObjectName(QStringLiteral("optFilterslope"));
    h2->addWidget(optFilterslope->add(0, QStringLiteral("optFilterslope"), QStringLiteral("Sharp"), fraSlope));
    h2->addWidget(optFilterslope->add(1, QStringLiteral("optFilterslope"), QStringLiteral("Loose"), fraSlope));
    row2->addWidget(fraSlope);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    row2->addWidget(cmdExit);

    connect(cmdDefaultNRBC, &QPushButton::clicked, this, &frmAdvancedDSP::cmdDefaultNRBC_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmAdvancedDSP::cmdExit_Click);
    connect(vsbNR, &QScrollBar::valueChanged, this, &frmAdvancedDSP::vsbNR_Change);
    connect(vsbBC, &QScrollBar::valueChanged, this, &frmAdvancedDSP::vsbBC_Change);
    connect(vsbNB, &QScrollBar::valueChanged, this, &frmAdvancedDSP::vsbNB_Change);
    connect(vsbNT, &QScrollBar::valueChanged, this, &frmAdvancedDSP::vsbNT_Change);
    // A choice the receiver did not take is not shown.
    connect(optHoldofnr, &OptionGroup::clicked, this, [this](int i) {
        if (NRD545A && !NRD545A->setUserdefs(27, int16_t(i)))
            optHoldofnr->putBack();
    });
    connect(optFilterslope, &OptionGroup::clicked, this, [this](int i) {
        if (NRD545A && !NRD545A->setUserdefs(32, int16_t(i)))
            optFilterslope->putBack();
    });
}

frmAdvancedDSP::~frmAdvancedDSP() = default;

int frmAdvancedDSP::defaultNR() { return clampLevel(setting(Setting::Nrd545NrDefault)); }
int frmAdvancedDSP::defaultBC() { return clampLevel(setting(Setting::Nrd545BcDefault)); }

void frmAdvancedDSP::Form_Load()
{
    Busy busy(this); // a close meanwhile waits for the opening to finish
    NRD545A = std::make_unique<clsNRD545>(rxPort());
    // Every opening starts from the window as built: no choice shown, the
    // bars at rest, so that what the dialog then sends is the same each time.
    for (VScroll *v : {vsbNR, vsbBC, vsbNB, vsbNT}) {
        const QSignalBlocker block(v);
        v->setValue(0);
        v->setEnabled(false);
        v->keepTaken(0);
    }
    for (QLabel *l : {lblNrbc, lblNR, lblBC, lblNB, lblNB2, lblNT, lblNT2})
        l->setText(QString());
    for (OptionGroup *g : {optHoldofnr, optFilterslope})
        for (int i = 0; i < g->count(); ++i)
            g->button(i)->setChecked(false);

    Receiver::hold(this, true);

    cmdNrbc_Click(0);
    cmdDefaultNRBC_Click();

    // The blanker keeps what the receiver has. A mode or level that does not
    // fit (or no answer at all) is shown as unknown and nothing is sent back.
    const int16_t mode = NRD545A->nb(0);
    const bool modeOk = NRD545A->lastReadOk() && mode >= 0 && mode <= 2;
    lblNB->setText(modeOk ? nbNames()[mode] : QStringLiteral("?"));
    if (!NRD545A)
        return;
    const int16_t level = NRD545A->nb(1);
    if (NRD545A->lastReadOk() && level >= 0 && level <= 255) {
        vsbNB->setValue(level);
        lblNB2->setText(nrd545::dspLevelText(level));
    } else {
        lblNB2->setText(QStringLiteral("?"));
    }
    if (modeOk)
        cmdNB_Click(mode);

    if (!NRD545A)
        return;
    const int16_t notch = NRD545A->nt(1);
    if (NRD545A->lastReadOk() && notch >= -1023 && notch <= 1023) {
        vsbNT->setValue(notch);
        lblNT2->setText(nrd545::notchText(notch));
    } else {
        lblNT2->setText(QStringLiteral("?"));
    }
    cmdNT_Click(0);
}

void frmAdvancedDSP::Form_Unload()
{
    // A hold left behind would keep the receiver in remote for good; ending
    // a hold that was already given back does nothing.
    Receiver::hold(this, false);
    NRD545A.reset();
}

void frmAdvancedDSP::closeEvent(QCloseEvent *ev)
{
    ev->ignore();
    if (isLoadedForm())
        cmdExit_Click();
}

void frmAdvancedDSP::cmdNrbc_Click(int index)
{
    if (!NRD545A || index < 0 || index > 2)
        return;
    if (!NRD545A->setNrbc(0, int16_t(index)))
        return;
    lblNrbc->setText(nrbcNames()[index]);
    vsbNR->setEnabled(index == 1);
    vsbBC->setEnabled(index == 2);
}

void frmAdvancedDSP::cmdNB_Click(int index)
{
    if (!NRD545A || index < 0 || index > 2)
        return;
    if (!NRD545A->setNb(0, int16_t(index)))
        return;
    lblNB->setText(nbNames()[index]);
    vsbNB->setEnabled(index != 0);
}

void frmAdvancedDSP::cmdNT_Click(int index)
{
    if (!NRD545A || index < 0 || index > 2)
        return;
    if (!NRD545A->setNt(0, int16_t(index)))
        return;
    lblNT->setText(ntNames()[index]);
    vsbNT->setEnabled(index == 1);
}

void frmAdvancedDSP::cmdDefaultNRBC_Click()
{
    if (!NRD545A)
        return;
    // Both levels go out first; a bar then moved to its level sends it again,
    // as any change of the bar does.
    const int nr = defaultNR(), bc = defaultBC();
    const bool nrTaken = NRD545A->setNrbc(1, int16_t(nr));
    const bool bcTaken = NRD545A && NRD545A->setNrbc(2, int16_t(bc));
    if (nrTaken && NRD545A) {
        vsbNR->setValue(nr);
        lblNR->setText(nrd545::dspLevelText(nr));
    }
    if (bcTaken && NRD545A) {
        vsbBC->setValue(bc);
        lblBC->setText(nrd545::dspLevelText(bc));
    }
}

bool frmAdvancedDSP::barTaken(VScroll *bar, int v, bool taken)
{
    if (taken)
        bar->keepTaken(v);
    else
        bar->putBackTaken();
    return taken;
}

void frmAdvancedDSP::vsbNR_Change(int v)
{
    if (!NRD545A)
        return;
    if (barTaken(vsbNR, v, NRD545A->setNrbc(1, int16_t(v))))
        lblNR->setText(nrd545::dspLevelText(v));
}

void frmAdvancedDSP::vsbBC_Change(int v)
{
    if (!NRD545A)
        return;
    if (barTaken(vsbBC, v, NRD545A->setNrbc(2, int16_t(v))))
        lblBC->setText(nrd545::dspLevelText(v));
}

void frmAdvancedDSP::vsbNB_Change(int v)
{
    if (!NRD545A)
        return;
    if (barTaken(vsbNB, v, NRD545A->setNb(1, int16_t(v))))
        lblNB2->setText(nrd545::dspLevelText(v));
}

void frmAdvancedDSP::vsbNT_Change(int v)
{
    if (!NRD545A)
        return;
    if (barTaken(vsbNT, v, NRD545A->setNt(1, int16_t(v))))
        lblNT2->setText(nrd545::notchText(v));
}

void frmAdvancedDSP::cmdExit_Click()
{
    if (!isLoadedForm())
        return;
    const int nr = defaultNR(), bc = defaultBC();
    if (vsbNR->value() != nr || vsbBC->value() != bc) {
        const int answer = msgBox(QStringList{QStringLiteral("    Do you want to bring the "),
                                              QStringLiteral("Noise reduction and Beat canceler"),
                                              QStringLiteral("   level back to its defaults")},
                                  MsgIcon::Question, QStringLiteral("Defaults"), MsgButtons::YesNoCancel);
        if (answer == vbCancel)
            return;
        if (answer == vbYes && NRD545A) {
            NRD545A->setNrbc(1, int16_t(nr));
            NRD545A->setNrbc(2, int16_t(bc));
        }
    }
    Receiver::hold(this, false);
    unload();
}

} // namespace tav
