#include "scans/frmScanpairs.h"
#include "drivers/receiver.h"

#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "core/tickguard.h"
#include "core/ui.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

namespace {

constexpr unsigned kHighlight = 0xFFFF80; // RGB(128,255,255)
constexpr unsigned kWhite = 0xFFFFFF;

const PanelEntries kCompetingEntries{{WindowId::frmSmeter, WindowId::frmScanband, WindowId::frmScanlist},
                                     {MainMenuId::Propagation}};

} // namespace

frmScanpairs::frmScanpairs() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Scan Frequency pairs from list"));
    setBackColor(this, kLightYellow);
    auto *top = new QHBoxLayout(this);

    auto *rowsBox = new QWidget(this);
    auto *grid = new QGridLayout(rowsBox);
    grid->setVerticalSpacing(0);
    grid->setContentsMargins(2, 2, 2, 2);
    for (int i = 0; i < kRows; ++i) {
        lblNr[i] = makeLabel(QStringLiteral("lblNr(%1)").arg(i), QString(), rowsBox);
        lblNr[i]->setMinimumWidth(36);
        lblChannelA[i] = makeLabel(QStringLiteral("lblChannelA(%1)").arg(i), QString(), rowsBox);
        lblChannelB[i] = makeLabel(QStringLiteral("lblChannelB(%1)").arg(i), QString(), rowsBox);
        for (QLabel *l : {lblChannelA[i], lblChannelB[i]}) {
            l->setMinimumWidth(80);
            l->setAutoFillBackground(true);
            setBackColor(l, kWhite);
            l->installEventFilter(this);
        }
        chkChannel[i] = new QCheckBox(rowsBox);
        chkChannel[i]->setObjectName(QStringLiteral("chkChannel(%1)").arg(i));
        chkChannel[i]->installEventFilter(this);
        txtRemarks[i] = new QLineEdit(rowsBox);
        txtRemarks[i]->setObjectName(QStringLiteral("txtRemarks(%1)").arg(i));
        txtRemarks[i]->setMinimumWidth(160);
        txtRemarks[i]->installEventFilter(this);
        grid->addWidget(lblNr[i], i, 0);
        grid->addWidget(lblChannelA[i], i, 1);
        grid->addWidget(lblChannelB[i], i, 2);
        grid->addWidget(chkChannel[i], i, 3);
        grid->addWidget(txtRemarks[i], i, 4);
    }
    QFont bold = lblNr[5]->font();
    bold.setBold(true);
    for (QLabel *l : {lblNr[5], lblChannelA[5], lblChannelB[5]})
        l->setFont(bold);
    lblNr[5]->setAutoFillBackground(true);
    setBackColor(lblNr[5], kWhite);
    top->addWidget(rowsBox);

    vsbActnr = new VScroll(QStringLiteral("vsbActnr"), this);
    vsbActnr->setEnds(0, 0);
    connect(vsbActnr, &QScrollBar::valueChanged, this, &frmScanpairs::vsbActnr_Change);
    top->addWidget(vsbActnr);

    auto *side = new QVBoxLayout;
    auto *fields = new QGridLayout;
    auto field = [&](int r, const char *caption, const char *name, const char *text) {
        fields->addWidget(new QLabel(QLatin1String(caption), this), r, 0);
        auto *e = new QLineEdit(QLatin1String(text), this);
        e->setObjectName(QLatin1String(name));
        e->setMaximumWidth(60);
        fields->addWidget(e, r, 1);
        return e;
    };
    txtStart = field(0, "Scan Start", "txtStart", "0");
    txtEnd = field(1, "Scan End", "txtEnd", "0");
    txtDelay = field(2, "Scan Delay", "txtDelay", "1");
    connect(txtStart, &QLineEdit::textChanged, this, &frmScanpairs::txtStart_Change);
    connect(txtEnd, &QLineEdit::textChanged, this, &frmScanpairs::txtEnd_Change);
    connect(txtDelay, &QLineEdit::textChanged, this, &frmScanpairs::txtDelay_Change);
    side->addLayout(fields);
    optScanAB = new OptionGroup(this);
    side->addWidget(optScanAB->add(0, QStringLiteral("optScanAB"), QStringLiteral("Scan A channels"), this));
    side->addWidget(optScanAB->add(1, QStringLiteral("optScanAB"), QStringLiteral("Scan B channels"), this));
    connect(optScanAB, &OptionGroup::clicked, this, &frmScanpairs::optScanAB_Click);
    auto *fileRow = new QHBoxLayout;
    lblFile = makeLabel(QStringLiteral("lblFile"), QStringLiteral("File"), this);
    lblFilename = makeLabel(QStringLiteral("lblFilename"), QString(), this);
    fileRow->addWidget(lblFile);
    fileRow->addWidget(lblFilename, 1);
    side->addLayout(fileRow);

    struct B {
        QPushButton *&b;
        const char *name, *caption;
        void (frmScanpairs::*fn)();
    } buttons[] = {
        {cmdStart, "cmdStart", "Start", &frmScanpairs::cmdStart_Click},
        {cmdStop, "cmdStop", "Stop", &frmScanpairs::cmdStop_Click},
        {cmdContinue, "cmdContinue", "Continue", &frmScanpairs::cmdContinue_Click},
        {cmdLoad, "cmdLoad", "Load Pairs", &frmScanpairs::cmdLoad_Click},
        {cmdsaveas, "cmdsaveas", "Save Pairs", &frmScanpairs::cmdsaveas_Click},
        {cmdDiduzu, "cmdDiduzu", "DiDuzu", &frmScanpairs::cmdDiduzu_Click},
        {cmdExit, "cmdExit", "Exit", &frmScanpairs::cmdExit_Click},
    };
    auto *buttonGrid = new QGridLayout;
    int n = 0;
    for (B &b : buttons) {
        b.b = makeButton(QLatin1String(b.name), QLatin1String(b.caption), this);
        setBackColor(b.b, kYellow);
        buttonGrid->addWidget(b.b, n / 2, n % 2);
        ++n;
        connect(b.b, &QPushButton::clicked, this, b.fn);
    }
    side->addLayout(buttonGrid);
    side->addStretch();
    top->addLayout(side);

    tmrScanpairs.setObjectName(QStringLiteral("tmrScanpairs"));
    connect(&tmrScanpairs, &QTimer::timeout, this, &frmScanpairs::tmrScanpairs_Timer);
}

void frmScanpairs::Form_Load()
{
    tmrScanpairs.stop();
    // Every load starts empty, as designed: the rows wait for a file.
    m_scan = PairScan();
    m_saved = m_scan.toLines();
    vsbActnr->setEnds(0, 0);
    txtStart->setText(QStringLiteral("0"));
    txtEnd->setText(QStringLiteral("0"));
    txtDelay->setText(QStringLiteral("1"));
    lblFilename->clear();
    showactivepairs(-1);
    m_rxtype = goModel().rxtype;
    optScanAB->select(0);
    optScanAB_Click(0);
    m_pairdelay = 1;
    // Start, Continue and Save Pairs wait for a table, and so does the bar.
    for (QWidget *w : {static_cast<QWidget *>(cmdStart), static_cast<QWidget *>(cmdContinue),
                       static_cast<QWidget *>(cmdsaveas), static_cast<QWidget *>(vsbActnr)})
        w->setEnabled(m_scan.hasTable());
    cmdContinue->setEnabled(false);
    for (QPushButton *b : {cmdStop, cmdLoad, cmdDiduzu, cmdExit})
        b->setEnabled(true);
    if (!rxModel(m_rxtype).isNone())
        setOpenPanelEntries(kCompetingEntries, false);
    show();
}

void frmScanpairs::Form_UnloadRequested() { tmrScanpairs.stop(); }

void frmScanpairs::Form_Unload()
{
    // However the window goes, its scan ends and the receiver is let go.
    tmrScanpairs.stop();
    Receiver::hold(this, false);
    if (!rxModel(m_rxtype).isNone())
        setOpenPanelEntries(kCompetingEntries, true);
}

bool frmScanpairs::eventFilter(QObject *obj, QEvent *ev)
{
    const QEvent::Type t = ev->type();
    if (t == QEvent::FocusOut || t == QEvent::MouseButtonPress) {
        for (int i = 0; i < kRows; ++i) {
            if (t == QEvent::FocusOut && obj == chkChannel[i])
                chkChannel_LostFocus(i);
            else if (t == QEvent::FocusOut && obj == txtRemarks[i])
                txtRemarks_LostFocus(i);
            else if (t == QEvent::MouseButtonPress && obj == lblChannelA[i])
                lblChannel_Click(0, i);
            else if (t == QEvent::MouseButtonPress && obj == lblChannelB[i])
                lblChannel_Click(1, i);
        }
    }
    return TavForm::eventFilter(obj, ev);
}

void frmScanpairs::showactivepairs(int n)
{
    const auto rows = m_scan.rows(n);
    for (int i = 0; i < kRows; ++i) {
        const std::optional<int> k = rows[i];
        const FreqPair *p = k ? &m_scan.pairs[*k] : nullptr;
        lblNr[i]->setText(p ? numSingle(*k) : QString());
        lblChannelA[i]->setText(p ? p->freqa : QString());
        lblChannelB[i]->setText(p ? p->freqb : QString());
        chkChannel[i]->setChecked(p && p->active == 1);
        txtRemarks[i]->setText(p ? p->remark : QString());
    }
}

void frmScanpairs::vsbActnr_Change(int value)
{
    m_pairview = value;
    showactivepairs(m_pairview);
}

void frmScanpairs::txtStart_Change()
{
    if (!m_scan.hasTable())
        return;
    // Read wide: a number of any size is refused, never wrapped.
    const double v = numericValue(txtStart->text());
    const int last = m_scan.pairlast();
    if (v >= -0.5 && v <= last + 0.5 && roundHalfEven(v) >= 0 && roundHalfEven(v) <= last) {
        m_scan.pairstart = int(roundHalfEven(v));
        return;
    }
    m_scan.pairstart = 0;
    txtStart->setText(QStringLiteral("0"));
    msgBox(QStringList{QStringLiteral("Scan Start: 0 to") + numSingle(last)}, MsgIcon::Exclamation,
           QStringLiteral("Input Error"));
}

void frmScanpairs::txtEnd_Change()
{
    if (!m_scan.hasTable())
        return;
    const double v = numericValue(txtEnd->text());
    const int last = m_scan.pairlast();
    if (v >= -0.5 && v <= last + 0.5 && roundHalfEven(v) >= 0 && roundHalfEven(v) <= last) {
        m_scan.pairend = int(roundHalfEven(v));
        return;
    }
    m_scan.pairend = last;
    txtEnd->setText(numSingle(last));
    msgBox(QStringList{QStringLiteral("Scan End: 0 to") + numSingle(last)}, MsgIcon::Exclamation,
           QStringLiteral("Input Error"));
}

void frmScanpairs::txtDelay_Change()
{
    const double v = numericValue(txtDelay->text());
    if (v >= 0.5 && v <= 60) {
        m_pairdelay = v;
        return;
    }
    m_pairdelay = 1;
    txtDelay->setText(QStringLiteral("1"));
}

std::optional<int> frmScanpairs::rowPair(int row) const
{
    if (row < 0 || row >= kRows || lblNr[row]->text().trimmed().isEmpty())
        return std::nullopt;
    const double v = numericValue(lblNr[row]->text());
    if (!(v >= -0.5 && v <= m_scan.pairlast() + 0.5))
        return std::nullopt;
    const int k = int(roundHalfEven(v));
    if (k < 0 || k > m_scan.pairlast())
        return std::nullopt;
    return k;
}

void frmScanpairs::chkChannel_LostFocus(int row)
{
    if (const auto k = rowPair(row))
        m_scan.pairs[*k].active = chkChannel[row]->isChecked() ? 1 : 0;
}

void frmScanpairs::txtRemarks_LostFocus(int row)
{
    if (const auto k = rowPair(row))
        m_scan.pairs[*k].remark = txtRemarks[row]->text();
}

void frmScanpairs::takeFocusedEdit()
{
    for (int i = 0; i < kRows; ++i) {
        if (chkChannel[i]->hasFocus())
            chkChannel_LostFocus(i);
        if (txtRemarks[i]->hasFocus())
            txtRemarks_LostFocus(i);
    }
}

void frmScanpairs::lblChannel_Click(int side, int row)
{
    if (tmrScanpairs.isActive() || row < 0 || row >= kRows)
        return;
    const double f = numericValue((side == 0 ? lblChannelA[row] : lblChannelB[row])->text());
    if (f >= goModel().freqMinKHz && f <= goModel().freqMaxKHz)
        hub().Change2FreqA(f);
}

void frmScanpairs::optScanAB_Click(int index)
{
    setBackColor(lblChannelA[5], index == 0 ? kHighlight : kWhite);
    setBackColor(lblChannelB[5], index == 1 ? kHighlight : kWhite);
}

void frmScanpairs::clampToTable()
{
    const int last = m_scan.pairlast();
    if (m_scan.pairstart > last) {
        m_scan.pairstart = last;
        txtStart->setText(numSingle(last));
    }
    if (m_scan.pairend > last)
        m_scan.pairend = last;
    if (m_scan.paircur > last || m_scan.paircur < 0)
        m_scan.paircur = m_scan.pairstart;
}

void frmScanpairs::scanFrom(bool restart)
{
    if (!m_scan.hasTable() || !m_run.begin())
        return;
    takeFocusedEdit();
    for (QWidget *w : {static_cast<QWidget *>(cmdStart), static_cast<QWidget *>(cmdContinue),
                       static_cast<QWidget *>(cmdLoad), static_cast<QWidget *>(cmdsaveas),
                       static_cast<QWidget *>(vsbActnr), static_cast<QWidget *>(optScanAB->button(0)),
                       static_cast<QWidget *>(optScanAB->button(1))})
        w->setEnabled(false);
    tmrScanpairs.setInterval(int(roundHalfEven(m_pairdelay * 1000)));
    clampToTable();
    if (restart)
        m_scan.paircur = m_scan.pairstart;
    Receiver::hold(this, true);
    tmrScanpairs.start();
}

void frmScanpairs::cmdStart_Click() { scanFrom(true); }
void frmScanpairs::cmdContinue_Click() { scanFrom(false); }

void frmScanpairs::tmrScanpairs_Timer()
{
    // The hub's range message runs the event loop: no second tick meanwhile.
    const TickGuard tick(this, m_ticking, m_run);
    if (!tick || !tmrScanpairs.isActive() || !m_scan.hasTable())
        return;
    Busy busy(this);
    const std::optional<int> k = m_scan.findTunable();
    if (k) {
        const double f = m_scan.frequency(*k, optScanAB->selected() == 1 ? 1 : 0);
        hub().Change2FreqA(f);
        showactivepairs(m_scan.paircur);
        m_scan.advance();
    }
}

void frmScanpairs::cmdStop_Click()
{
    tmrScanpairs.stop();
    Receiver::hold(this, false);
    const bool table = m_scan.hasTable();
    for (QWidget *w : {static_cast<QWidget *>(cmdStart), static_cast<QWidget *>(cmdContinue),
                       static_cast<QWidget *>(cmdsaveas), static_cast<QWidget *>(vsbActnr)})
        w->setEnabled(table);
    for (QWidget *w : {static_cast<QWidget *>(cmdLoad), static_cast<QWidget *>(optScanAB->button(0)),
                       static_cast<QWidget *>(optScanAB->button(1))})
        w->setEnabled(true);
}

void frmScanpairs::cmdLoad_Click()
{
    Busy busy(this);
    frmLoadfile::showFor(FileKind::ScanPairs);
}

void frmScanpairs::cmdsaveas_Click()
{
    takeFocusedEdit();
    Busy busy(this);
    frmSavefile::showFor(FileKind::ScanPairs);
}

void frmScanpairs::cmdDiduzu_Click() { showChosenPanel(); }

void frmScanpairs::cmdExit_Click()
{
    cmdStop_Click();
    unload();
}

FileResult frmScanpairs::sfpfile2ram(const QString &path)
{
    HourglassGuard hourglass;
    QString why;
    qint64 past = 0;
    const std::optional<QStringList> lines = readKindFile(path, filelimits::kPairScan, &why, &past);
    if (!lines)
        return FileResult::failure(QStringLiteral("The file could not be read: ") + why + QLatin1Char('.'));
    if (!m_scan.fromLines(*lines))
        return FileResult::failure(QStringLiteral("The file holds no frequency pairs."));
    m_saved = m_scan.toLines();
    const int last = m_scan.pairlast();
    vsbActnr->setEnds(0, last);
    txtEnd->setText(numSingle(last));
    m_scan.pairend = last;
    clampToTable();
    lblFilename->setText(G.filenames[FileKind::ScanPairs]);
    showactivepairs(0);
    vsbActnr->setEnabled(!tmrScanpairs.isActive());
    cmdsaveas->setEnabled(!tmrScanpairs.isActive());
    cmdStart->setEnabled(true);
    cmdContinue->setEnabled(false);
    return FileResult::loaded({past, false});
}

FileResult frmScanpairs::sfpram2file(const QString &path)
{
    QString error;
    if (!writeTextLines(path, m_scan.toLines(), &error))
        return FileResult::failure(error);
    m_saved = m_scan.toLines();
    return FileResult::success();
}

bool frmScanpairs::strayRemark() const
{
    for (int i = 0; i < kRows; ++i)
        if (!rowPair(i) && !txtRemarks[i]->text().trimmed().isEmpty())
            return true;
    return false;
}

bool frmScanpairs::hasUnsavedChanges()
{
    takeFocusedEdit();
    return m_scan.toLines() != m_saved || strayRemark();
}

void frmScanpairs::saveChanges()
{
    // Saved, the table would drop it unsaid: the window stays to keep it.
    if (strayRemark()) {
        msgBox(QStringList{QStringLiteral("A remark stands in a row without a pair, and the file keeps"),
                           QStringLiteral("remarks only with their pairs: type it beside a pair first.")},
               MsgIcon::Exclamation, QStringLiteral("Save Pairs"));
        return;
    }
    cmdsaveas_Click();
}

} // namespace tav
