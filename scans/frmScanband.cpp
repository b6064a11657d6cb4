#include "scans/frmScanband.h"

#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "core/tickguard.h"
#include "core/ui.h"
#include "core/clock.h"
#include "core/delay.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/links.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "drivers/receiver.h"
#include "signal/smeterlevel.h"

#include <QApplication>
#include <QFont>

namespace tav {

namespace {

constexpr int kWidth = 632, kHeight = 423;
constexpr unsigned kButton = 0x80FFFF;      // RGB(255,255,128)
constexpr unsigned kTuneIdle = 0x00FFFF;    // RGB(255,255,0)
constexpr unsigned kTuneActive = 0xFFFF00;  // RGB(0,255,255)
// The delay box's range in seconds: a timer interval of 50 ms to a minute.
constexpr double kDelayMin = 0.05, kDelayMax = 60;

const PanelEntries kCompetingEntries{{WindowId::frmSmeter, WindowId::frmScanlist, WindowId::frmScanpairs},
                                     {MainMenuId::Propagation}};

// The overlay last drawn: kept from one load of the window to the next.
int s_overlaynr = 0;

} // namespace

int frmScanband::overlayNumber() { return s_overlaynr; }

frmScanband::frmScanband()
    : TavForm(windowId),
      picScan(new Canvas(QStringLiteral("picScan"), kWidth, kHeight, QColor(255, 255, 192), this)),
      m_sweep(picScan->picture())
{
    setWindowTitle(QStringLiteral("Scan band"));
    setFixedSize(kWidth, kHeight);
    picScan->move(0, 0);
    QFont small = font();
    small.setPixelSize(11);
    picScan->picture().setFont(small);
    connect(picScan, &Canvas::mouseMoved, this, &frmScanband::Form_MouseMove);
    connect(picScan, &Canvas::mousePressed, this, &frmScanband::Form_MouseDown);

    fraSetup = makeFrame(QStringLiteral("fraSetup"), QString(), this);
    fraSetup->setGeometry(6, 2, 330, 168);
    setBackColor(fraSetup, kLightYellow);
    static const char *dataCaptions[] = {"Start (kHz)", "End (kHz)", "Step (kHz)", "Delay (sec)"};
    for (int i = 0; i < 4; ++i) {
        lbldata[i] = makeLabel(QStringLiteral("lbldata(%1)").arg(i), QLatin1String(dataCaptions[i]), fraSetup);
        lbldata[i]->setGeometry(8, 14 + 24 * i, 80, 20);
        txtInput[i] = new QLineEdit(i == 3 ? QStringLiteral("1") : QString(), fraSetup);
        txtInput[i]->setObjectName(QStringLiteral("txtInput(%1)").arg(i));
        txtInput[i]->setGeometry(90, 14 + 24 * i, 90, 20);
    }
    chkLoop = new CheckBox(QStringLiteral("chkLoop"), QStringLiteral(" Continuous Loop"), fraSetup);
    chkLoop->setGeometry(190, 12, 136, 20);
    connect(chkLoop, &CheckBox::clickedValue, this, &frmScanband::chkLoop_Click);
    optShow = new OptionGroup(this);
    static const char *showCaptions[] = {"Latest value", "Highest value", "Averaging last 3"};
    for (int i = 0; i < 3; ++i)
        optShow->add(i, QStringLiteral("optShow"), QLatin1String(showCaptions[i]), fraSetup)
            ->setGeometry(204, 32 + 18 * i, 122, 18);
    connect(optShow, &OptionGroup::clicked, this, &frmScanband::optShow_Click);
    chkSqlonoff = new CheckBox(QStringLiteral("chkSqlonoff"), QStringLiteral("Squelch Hold"), fraSetup);
    chkSqlonoff->setGeometry(190, 90, 136, 20);
    connect(chkSqlonoff, &CheckBox::clickedValue, this, &frmScanband::chkSqlonoff_Click);
    lblSqlonat = makeLabel(QStringLiteral("lblSqlonat"), QStringLiteral("Squelch On at"), fraSetup);
    lblSqlonat->setGeometry(8, 114, 90, 20);
    lblSqlon = makeLabel(QStringLiteral("lblSqlon"), QString(), fraSetup);
    lblSqlon->setGeometry(100, 114, 70, 20);
    spnSqlon = new SpinButton(QStringLiteral("spnSqlon"), fraSetup);
    spnSqlon->setGeometry(172, 110, 18, 26);
    connect(spnSqlon, &SpinButton::SpinUp, this, &frmScanband::spnSqlon_SpinUp);
    connect(spnSqlon, &SpinButton::SpinDown, this, &frmScanband::spnSqlon_SpinDown);
    lblSqloffat = makeLabel(QStringLiteral("lblSqloffat"), QStringLiteral("Sqeulch Off at"), fraSetup);
    lblSqloffat->setGeometry(8, 140, 90, 20);
    lblSqloff = makeLabel(QStringLiteral("lblSqloff"), QString(), fraSetup);
    lblSqloff->setGeometry(100, 140, 70, 20);
    spnSqloff = new SpinButton(QStringLiteral("spnSqloff"), fraSetup);
    spnSqloff->setGeometry(172, 136, 18, 26);
    connect(spnSqloff, &SpinButton::SpinUp, this, &frmScanband::spnSqloff_SpinUp);
    connect(spnSqloff, &SpinButton::SpinDown, this, &frmScanband::spnSqloff_SpinDown);

    lblTimedate = makeLabel(QStringLiteral("lblTimedate"), QString(), this);
    lblTimedate->setGeometry(345, 6, 280, 18);
    lblFreq = makeLabel(QStringLiteral("lblFreq"), QString(), this);
    lblFreq->setGeometry(345, 26, 140, 18);
    lblFreq1 = makeLabel(QStringLiteral("lblFreq1"), QString(), this);
    lblFreq1->setGeometry(485, 26, 140, 18);
    for (int i = 0; i < 4; ++i) {
        lblDbname[i] = makeLabel(QStringLiteral("lblDbname(%1)").arg(i), QString(), this);
        lblDbname[i]->setGeometry(345, 62 + 20 * i, 280, 18);
    }
    lblSsqlon = makeLabel(QStringLiteral("lblSsqlon"), QStringLiteral("<=  On"), this);
    lblFreqlow = makeLabel(QStringLiteral("lblFreqlow"), QString(), this);
    lblFreqlow->setGeometry(40, 381, 120, 15);
    lblFreqhigh = makeLabel(QStringLiteral("lblFreqhigh"), QString(), this);
    lblFreqhigh->setGeometry(520, 381, 110, 15);

    struct B {
        QPushButton *&b;
        const char *name, *caption;
        void (frmScanband::*fn)();
    } buttons[] = {
        {cmdLoad, "cmdLoad", "Load", &frmScanband::cmdLoad_Click},
        {cmdSave, "cmdSave", "Save As", &frmScanband::cmdSave_Click},
        {cmdContinue, "cmdContinue", "Continue", &frmScanband::cmdContinue_Click},
        {cmdCls, "cmdCls", "Cls", &frmScanband::cmdCls_Click},
        {cmdTunerx, "cmdTunerx", "Tune RX", &frmScanband::cmdTunerx_Click},
        {cmdStop, "cmdStop", "Stop", &frmScanband::cmdStop_Click},
        {cmdStart, "cmdStart", "Start", &frmScanband::cmdStart_Click},
        {cmdDiduzu, "cmdDiduzu", "DiDuzu", &frmScanband::cmdDiduzu_Click},
        {cmdExit, "cmdExit", "Exit", &frmScanband::cmdExit_Click},
    };
    int n = 0;
    for (B &b : buttons) {
        b.b = makeButton(QLatin1String(b.name), QLatin1String(b.caption), this);
        b.b->setGeometry(6 + 69 * n, 398, 66, 22);
        setBackColor(b.b, kButton);
        connect(b.b, &QPushButton::clicked, this, b.fn);
        ++n;
    }
    setBackColor(cmdTunerx, kTuneIdle);
    for (QWidget *w : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (w != picScan)
            w->raise();

    tmrScanband.setObjectName(QStringLiteral("tmrScanband"));
    tmrScanband.setTimerType(Qt::PreciseTimer);
    // Each step arms the next (rearmSweep).
    tmrScanband.setSingleShot(true);
    connect(&tmrScanband, &QTimer::timeout, this, &frmScanband::tmrScanband_Timer);
    tmrSqlon.setObjectName(QStringLiteral("tmrSqlon"));
    tmrSqlon.setInterval(1000);
    connect(&tmrSqlon, &QTimer::timeout, this, &frmScanband::tmrSqlon_Timer);
}

frmScanband::~frmScanband() = default;

void frmScanband::Form_Load()
{
    sweepTimer(false);
    tmrSqlon.stop();
    m_running = false;
    // Every load starts from the window as designed.
    for (int i = 0; i < 3; ++i)
        txtInput[i]->clear();
    txtInput[3]->setText(QStringLiteral("1"));
    for (QLabel *l : {lblTimedate, lblFreqlow, lblFreqhigh, lblFreq, lblFreq1})
        l->clear();
    for (QLabel *l : lblDbname)
        l->clear();
    setBackColor(cmdTunerx, kTuneIdle);
    m_sqlonnr = 21;
    lblSqlon->setText(slabel(m_sqlonnr));
    m_sqloffnr = 19;
    lblSqloff->setText(slabel(m_sqloffnr));
    m_sbtunerx = false;
    chkLoop->setValue(0);
    chkSqlonoff->setValue(0);
    for (int i = 0; i < 3; ++i)
        optShow->button(i)->setVisible(false);
    for (QWidget *w : {static_cast<QWidget *>(lblSqlonat), static_cast<QWidget *>(lblSqloffat),
                       static_cast<QWidget *>(spnSqlon), static_cast<QWidget *>(spnSqloff),
                       static_cast<QWidget *>(lblSqlon), static_cast<QWidget *>(lblSqloff),
                       static_cast<QWidget *>(lblSsqlon)})
        w->setVisible(false);
    showSqlonPointer();
    picScan->picture().clear();
    m_sweep.drawFrame();
    for (QPushButton *b : {cmdCls, cmdStop, cmdContinue, cmdTunerx})
        b->setEnabled(false);
    for (QPushButton *b : {cmdStart, cmdDiduzu, cmdExit})
        b->setEnabled(true);
    updateFileButtons();
    m_rxtype = goModel().rxtype;
    if (!rxModel(m_rxtype).isNone()) {
        m_rx = makeReceiver();
        setOpenPanelEntries(kCompetingEntries, false);
    }
    m_reader.attach(m_rx.get(), m_rxtype);
    show();
}

void frmScanband::Form_UnloadRequested()
{
    m_running = false;
    sweepTimer(false);
    tmrSqlon.stop();
}

void frmScanband::Form_Unload()
{
    // Closing the window while it sweeps ends the sweep and lets the receiver go.
    m_running = false;
    sweepTimer(false);
    tmrSqlon.stop();
    Receiver::hold(this, false);
    m_reader.attach(nullptr, 0);
    m_rx.reset();
    if (!rxModel(m_rxtype).isNone())
        setOpenPanelEntries(kCompetingEntries, true);
}

void frmScanband::updateFileButtons()
{
    const bool free = !chkLoop->isChecked() && !chkSqlonoff->isChecked();
    cmdSave->setEnabled(free);
    // A load would replace the band in the middle of a sweep.
    cmdLoad->setEnabled(free && !m_running);
    for (QLabel *l : lblDbname)
        l->setVisible(free);
}

void frmScanband::showSqlonPointer()
{
    lblSsqlon->setGeometry(586, 184 + 8 * (21 - m_sqlonnr), 46, 14);
}

void frmScanband::chkLoop_Click(int value)
{
    if (value) {
        for (int i = 0; i < 3; ++i)
            optShow->button(i)->setVisible(true);
        optShow->select(0);
        m_sweep.sbshowmode = 0;
    } else {
        for (int i = 0; i < 3; ++i)
            optShow->button(i)->setVisible(false);
    }
    updateFileButtons();
}

void frmScanband::chkSqlonoff_Click(int value)
{
    for (QWidget *w : {static_cast<QWidget *>(lblSqlonat), static_cast<QWidget *>(lblSqloffat),
                       static_cast<QWidget *>(spnSqlon), static_cast<QWidget *>(spnSqloff),
                       static_cast<QWidget *>(lblSqlon), static_cast<QWidget *>(lblSqloff),
                       static_cast<QWidget *>(lblSsqlon)})
        w->setVisible(value != 0);
    updateFileButtons();
}

void frmScanband::optShow_Click(int index) { m_sweep.sbshowmode = index; }

void frmScanband::spnSqlon_SpinUp()
{
    m_sqlonnr = std::min(21, m_sqlonnr + 1);
    lblSqlon->setText(slabel(m_sqlonnr));
    lblSqlon->repaint();
    showSqlonPointer();
}

void frmScanband::spnSqlon_SpinDown()
{
    m_sqlonnr = std::max(1, m_sqlonnr - 1);
    lblSqlon->setText(slabel(m_sqlonnr));
    lblSqlon->repaint();
    showSqlonPointer();
}

void frmScanband::spnSqloff_SpinUp()
{
    m_sqloffnr = std::min(21, m_sqloffnr + 1);
    lblSqloff->setText(slabel(m_sqloffnr));
    lblSqloff->repaint();
}

void frmScanband::spnSqloff_SpinDown()
{
    m_sqloffnr = std::max(1, m_sqloffnr - 1);
    lblSqloff->setText(slabel(m_sqloffnr));
    lblSqloff->repaint();
}

void frmScanband::setSweepControls(bool sweeping)
{
    for (QWidget *w : {static_cast<QWidget *>(fraSetup), static_cast<QWidget *>(cmdStart),
                       static_cast<QWidget *>(cmdContinue), static_cast<QWidget *>(cmdCls),
                       static_cast<QWidget *>(cmdTunerx), static_cast<QWidget *>(cmdDiduzu),
                       static_cast<QWidget *>(cmdExit)})
        w->setEnabled(!sweeping);
    cmdStop->setEnabled(true);
}

void frmScanband::cmdStart_Click()
{
    if (!m_run.begin())
        return;
    if (m_sqloffnr > m_sqlonnr) {
        m_sqloffnr = m_sqlonnr;
        lblSqloff->setText(slabel(m_sqloffnr));
    }
    QString t[4];
    for (int i = 0; i < 4; ++i) {
        t[i] = txtInput[i]->text();
        t[i].replace(QLatin1Char(','), QLatin1Char('.'));
    }
    const double start = numericValue(t[0]), end = numericValue(t[1]);
    double step = numericValue(t[2]);
    if (step == 0)
        step = 0.001;
    const double delay = double(float(numericValue(t[3])));
    if (step < 0 || start < goModel().freqMinKHz || end <= start || end > goModel().freqMaxKHz || (end - start) / step > 500) {
        msgBox(QStringLiteral("Input ERROR"), MsgIcon::Exclamation, QStringLiteral("Error"));
        for (int i = 0; i < 3; ++i)
            txtInput[i]->clear();
        txtInput[0]->setFocus();
        return;
    }
    if (!(delay >= kDelayMin && delay <= kDelayMax)) {
        msgBox(QStringList{QStringLiteral("Delay (sec): 0.05 to 60")}, MsgIcon::Exclamation,
               QStringLiteral("Input Error"));
        txtInput[3]->setFocus();
        return;
    }
    m_sweep.begin(start, end, step);
    m_running = true;
    setSweepControls(true);
    updateFileButtons();
    m_intervalMs = int(roundHalfEven(delay * 1000));
    tmrScanband.setInterval(m_intervalMs);
    m_sweep.clearPlot();
    lblFreqlow->setText(t[0]);
    lblFreqhigh->setText(t[1]);
    Receiver::hold(this, true);
    m_reader.begin();
    lblTimedate->setText(G.utctext + QStringLiteral(" Z"));
    lblFreq1->setText(QStringLiteral("Scanning"));
    sweepTimer(true);
}

void frmScanband::advanceAndTune()
{
    const double f = m_sweep.advance(chkLoop->isChecked());
    lblFreq->setText(numDouble(f));
    // Only this tuning is a band step; frequencies tuned elsewhere meanwhile
    // are recorded as usual.
    G.last20record = links::recordsFreqSteps();
    hub().Change2FreqA(f);
    // A step the hub refused (or no receiver) recorded nothing: the next
    // frequency tuned elsewhere is recorded again.
    G.last20record = true;
}

void frmScanband::tmrScanband_Timer()
{
    // A message box (the hub's range message) runs the event loop: no second
    // tick starts meanwhile.
    const TickGuard tick(this, m_ticking, m_run);
    if (!tick || !m_running || !m_sweepTimerOn)
        return;
    if (m_sweep.finished())
        return;
    Busy busy(this);
    const SmeterReader::Reading got = m_reader.read([this] { cmdStop_Click(); });
    const std::optional<float> r = got.level;
    if (r)
        m_sweep.record(*r);
    else if (got.stopped)
        return;
    QCoreApplication::processEvents();
    // Stop (or the window's closing) during the events ends the tick here.
    if (!m_running || !isLoadedForm())
        return;
    if (r && chkSqlonoff->isChecked() && *r >= m_sqlonnr) {
        sweepTimer(false);
        tmrSqlon.start();
        lblFreq1->setText(QStringLiteral("On Hold"));
        cmdContinue->setEnabled(true);
        return;
    }
    advanceAndTune();
    rearmSweep();
}

void frmScanband::sweepTimer(bool on)
{
    m_sweepTimerOn = on;
    if (!on) {
        tmrScanband.stop();
        return;
    }
    m_pace.start();
    m_nextDueMs = m_intervalMs;
    tmrScanband.start(m_intervalMs);
}

void frmScanband::rearmSweep()
{
    // The next step is due one interval after the last one was; a step that
    // took longer than the interval is followed at once, so the sweep runs as
    // fast as the delay and the line allow, never at a multiple of the delay.
    if (!m_sweepTimerOn || !isLoadedForm())
        return;
    const qint64 now = m_pace.elapsed();
    m_nextDueMs += m_intervalMs;
    if (m_nextDueMs < now)
        m_nextDueMs = now;
    tmrScanband.start(int(m_nextDueMs - now));
}

void frmScanband::tmrSqlon_Timer()
{
    const TickGuard tick(this, m_ticking, m_run);
    if (!tick || !m_running || !tmrSqlon.isActive())
        return;
    Busy busy(this);
    const std::optional<float> r = m_reader.read([this] { cmdStop_Click(); }).level;
    if (!r)
        return;
    QCoreApplication::processEvents();
    if (m_running && tmrSqlon.isActive() && *r < m_sqloffnr) {
        tmrSqlon.stop();
        sweepTimer(true);
        lblFreq1->setText(QStringLiteral("Scanning"));
        cmdContinue->setEnabled(false);
    }
}

void frmScanband::cmdContinue_Click()
{
    if (!m_run.begin())
        return;
    setSweepControls(true);
    m_running = true;
    updateFileButtons();
    Receiver::hold(this, true);
    m_reader.resetMisses();
    advanceAndTune();
    tmrSqlon.stop();
    sweepTimer(true);
    lblFreq1->setText(QStringLiteral("Scanning"));
}

void frmScanband::cmdStop_Click()
{
    m_running = false;
    sweepTimer(false);
    tmrSqlon.stop();
    Receiver::hold(this, false);
    m_sbtunerx = false;
    lblFreq1->setText(QString());
    cmdStart->setEnabled(true);
    cmdStop->setEnabled(true);
    const BandSweep &s = m_sweep;
    cmdContinue->setEnabled(s.sbstep > 0 && (s.sbfreqend - s.sbfreqstart) / s.sbstep - 2 > s.sbstepnr);
    cmdCls->setEnabled(true);
    cmdTunerx->setEnabled(true);
    setBackColor(cmdTunerx, kButton);
    cmdDiduzu->setEnabled(true);
    cmdExit->setEnabled(true);
    fraSetup->setEnabled(true);
    updateFileButtons();
    m_sweep.clearClickMarker();
    m_sweep.clearStepMarker();
}

void frmScanband::cmdTunerx_Click()
{
    m_sbtunerx = true;
    setBackColor(cmdTunerx, kTuneActive);
    for (QPushButton *b : {cmdTunerx, cmdStart, cmdCls, cmdContinue, cmdDiduzu, cmdExit})
        b->setEnabled(false);
    cmdStop->setEnabled(true);
}

void frmScanband::Form_MouseMove(int x, int y)
{
    if (!m_sbtunerx)
        return;
    if (x >= 70 && x <= 570 && y >= 180 && y <= 360 && m_sweep.sbstep > 0) {
        m_sbmousefreq = m_sweep.mouseFrequency(x);
        lblFreq1->setText(numDouble(m_sbmousefreq));
    } else {
        lblFreq1->setText(QString());
    }
}

void frmScanband::Form_MouseDown(int x, int y)
{
    if (!m_sbtunerx || !(x > 70 && x < 570 && y > 180 && y < 360) || !(m_sweep.sbstep > 0))
        return;
    Busy busy(this);
    m_sbclickfreq = m_sweep.clickFrequency(x);
    lblFreq->setText(numDouble(m_sbclickfreq));
    m_sweep.clickMarker(x);
    hub().Change2FreqA(m_sbclickfreq);
    // A short pause, so that a burst of clicks does not queue a burst of tunings.
    QCoreApplication::processEvents();
    Delay(100);
}

void frmScanband::cmdCls_Click()
{
    m_sweep.clearPlot();
    for (QLabel *l : {lblTimedate, lblFreqlow, lblFreqhigh, lblFreq, lblFreq1})
        l->setText(QString());
    for (QLabel *l : lblDbname)
        l->setText(QString());
    cmdContinue->setEnabled(false);
    cmdTunerx->setEnabled(false);
}

void frmScanband::cmdLoad_Click()
{
    Busy busy(this);
    frmLoadfile::showFor(FileKind::BandScan);
}

void frmScanband::cmdSave_Click()
{
    Busy busy(this);
    frmSavefile::showFor(FileKind::BandScan);
}

void frmScanband::cmdDiduzu_Click() { showChosenPanel(); }

void frmScanband::cmdExit_Click() { unload(); }

FileResult frmScanband::sanram2file(const QString &path)
{
    HourglassGuard hourglass;
    QString error;
    const std::optional<QStringList> lines =
        m_sweep.fileLines(lblTimedate->text(), goModel().freqMinKHz, goModel().freqMaxKHz, &error);
    if (!lines)
        return FileResult::failure(error);
    if (!writeTextLines(path, *lines, &error))
        return FileResult::failure(error);
    return FileResult::success();
}

FileResult frmScanband::sanfile2ram(const QString &path)
{
    QString why;
    const std::optional<QStringList> lines = readKindFile(path, filelimits::kBandScan, &why);
    if (!lines)
        return FileResult::failure(QStringLiteral("The file could not be read: ") + why + QLatin1Char('.'));
    // A band the receiver cannot sweep is refused whole: kept, it would
    // become the band a Save writes, and a Start would begin from it.
    const std::optional<BandSweep::File> file =
        BandSweep::read(*lines, goModel().freqMinKHz, goModel().freqMaxKHz, &why);
    if (!file)
        return FileResult::failure(why);

    s_overlaynr = s_overlaynr >= 4 ? 1 : s_overlaynr + 1;
    const QColor colour = overlayColour(s_overlaynr);
    QLabel *legend = lblDbname[s_overlaynr - 1];
    setForeColor(legend, colour.red() | (colour.green() << 8) | (colour.blue() << 16));
    const QString name = G.filenames[FileKind::BandScan];
    const QString shown = name.size() > 8 ? name.mid(4, name.size() - 8) : QString();
    legend->setText(shown + QStringLiteral("   ") + file->caption);

    lblFreqlow->setText(BandSweep::bandText(file->start));
    lblFreqhigh->setText(BandSweep::bandText(file->end));
    txtInput[0]->setText(BandSweep::bandText(file->start));
    txtInput[1]->setText(BandSweep::bandText(file->end));
    txtInput[2]->setText(BandSweep::bandText(file->step));
    if (m_sweep.applyOverlay(*file, colour)) {
        // The sweep and the overlays cleared with the old scale take their
        // texts with them.
        for (QLabel *l : lblDbname)
            if (l != legend)
                l->setText(QString());
        for (QLabel *l : {lblTimedate, lblFreq, lblFreq1})
            l->setText(QString());
    }
    for (QPushButton *b : {cmdStart, cmdCls, cmdStop, cmdTunerx, cmdDiduzu, cmdSave, cmdLoad})
        b->setEnabled(true);
    cmdContinue->setEnabled(false);
    return FileResult::success();
}

} // namespace tav
