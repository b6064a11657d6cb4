#include "scans/frmScanlist.h"

#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "core/clock.h"
#include "core/tickguard.h"
#include "core/ui.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "drivers/receiver.h"
#include "signal/smeterlevel.h"

#include <QEvent>
#include <QFont>

namespace tav {

namespace {

constexpr int kWidth = 634, kHeight = 446; // 9510 x 6690 twips
constexpr unsigned kWhiteBox = 0xFFFFFF, kCyanBox = 0xFFFF00;

const PanelEntries kCompetingEntries{{WindowId::frmSmeter, WindowId::frmScanband, WindowId::frmScanpairs},
                                     {MainMenuId::Propagation}};

int tw(int twips) { return twips / 15; }

} // namespace

frmScanlist::frmScanlist()
    : TavForm(windowId),
      picScan(new Canvas(QStringLiteral("picScan"), kWidth, kHeight, QColor(255, 255, 192), this)),
      m_scan(picScan->picture())
{
    setWindowTitle(QStringLiteral("Scan Frequencies from list"));
    setFixedSize(kWidth, kHeight);
    picScan->move(0, 0);
    // The designed positions leave room for a small font only.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    picScan->picture().setFont(small);

    auto place = [](QWidget *w, int left, int top, int width, int height) {
        w->setGeometry(tw(left), tw(top), tw(width), tw(height));
        w->raise();
    };
    lblStart = makeLabel(QStringLiteral("lblStart"), QStringLiteral("Start time"), this);
    place(lblStart, 960, 120, 840, 240);
    lblStartUTC = makeLabel(QStringLiteral("lblStartUTC"), QString(), this);
    place(lblStartUTC, 1800, 120, 2295, 240);
    lblEnd = makeLabel(QStringLiteral("lblEnd"), QStringLiteral("End time"), this);
    place(lblEnd, 960, 360, 840, 240);
    lblEndUTC = makeLabel(QStringLiteral("lblEndUTC"), QString(), this);
    place(lblEndUTC, 1800, 360, 2295, 240);
    // Their captions end where the times begin: a few pixels keep the two apart.
    lblStartUTC->setIndent(4);
    lblEndUTC->setIndent(4);
    lblRun = makeLabel(QStringLiteral("lblRun"), QStringLiteral(" Run : "), this);
    place(lblRun, 4320, 240, 600, 240);
    lblRuns = makeLabel(QStringLiteral("lblRuns"), QStringLiteral("0000"), this);
    place(lblRuns, 4920, 240, 720, 240);
    lblDelay = makeLabel(QStringLiteral("lblDelay"), QStringLiteral("Delay/freq"), this);
    place(lblDelay, 7200, 120, 1200, 240);
    txtDelay = new QLineEdit(QStringLiteral("2"), this);
    txtDelay->setObjectName(QStringLiteral("txtDelay"));
    place(txtDelay, 8400, 120, 720, 240);
    lblUpdate = makeLabel(QStringLiteral("lblUpdate"), QStringLiteral("Runs/update"), this);
    place(lblUpdate, 7320, 360, 1080, 240);
    txtUpdate = new QLineEdit(QStringLiteral("5"), this);
    txtUpdate->setObjectName(QStringLiteral("txtUpdate"));
    place(txtUpdate, 8400, 360, 720, 240);

    struct B {
        QPushButton *&b;
        const char *name, *caption;
        int left;
        void (frmScanlist::*fn)();
    } buttons[] = {
        {cmdStart, "cmdStart", "Start", 960, &frmScanlist::cmdStart_Click},
        {cmdCls, "cmdCls", "Cls", 1920, &frmScanlist::cmdCls_Click},
        {cmdStop, "cmdStop", "Stop", 2880, &frmScanlist::cmdStop_Click},
        {cmdContinue, "cmdContinue", "Continue", 3840, &frmScanlist::cmdContinue_Click},
        {cmdLoad, "cmdLoad", "Load List", 4920, &frmScanlist::cmdLoad_Click},
        {cmdsaveas, "cmdsaveas", "Save List", 5880, &frmScanlist::cmdsaveas_Click},
        {cmdDiduzu, "cmdDiduzu", "DiDuzu", 6840, &frmScanlist::cmdDiduzu_Click},
        {cmdExit, "cmdExit", "Exit", 7800, &frmScanlist::cmdExit_Click},
    };
    for (B &b : buttons) {
        b.b = makeButton(QLatin1String(b.name), QLatin1String(b.caption), this);
        place(b.b, b.left, 720, 900, 300);
        connect(b.b, &QPushButton::clicked, this, b.fn);
    }

    for (int i = 0; i < ListScan::kBoxes; ++i) {
        auto *t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("txtFreqlist(%1)").arg(i));
        const int g = i / 5, r = i % 5;
        place(t, 360 + 1920 * g + 360 * r, 4800 + 360 * r, 1695, 285);
        t->installEventFilter(this);
        txtFreqlist[i] = t;
        setBoxColour(i, kWhiteBox);
    }

    tmrScanlist.setObjectName(QStringLiteral("tmrScanlist"));
    tmrScanlist.setInterval(3000);
    connect(&tmrScanlist, &QTimer::timeout, this, &frmScanlist::tmrScanlist_Timer);
}

frmScanlist::~frmScanlist() = default;

void frmScanlist::Form_Load()
{
    tmrScanlist.stop();
    // Every load starts from the window as designed.
    for (int i = 0; i < ListScan::kBoxes; ++i) {
        txtFreqlist[i]->clear();
        setBoxColour(i, kWhiteBox);
    }
    m_saved = boxLines();
    txtDelay->setText(QStringLiteral("2"));
    txtUpdate->setText(QStringLiteral("5"));
    lblRuns->setText(QStringLiteral("0000"));
    lblStartUTC->clear();
    lblEndUTC->clear();
    m_scan.sllevels = {};
    m_scan.sltrends = {};
    picScan->picture().clear();
    m_scan.drawFrame();
    for (QPushButton *b : {cmdStart, cmdLoad, cmdsaveas, cmdDiduzu, cmdExit})
        b->setEnabled(true);
    for (QPushButton *b : {cmdCls, cmdStop, cmdContinue})
        b->setEnabled(false);
    m_rxtype = goModel().rxtype;
    if (!rxModel(m_rxtype).isNone()) {
        m_rx = makeReceiver();
        setOpenPanelEntries(kCompetingEntries, false);
    }
    m_reader.attach(m_rx.get(), m_rxtype);
    show();
}

void frmScanlist::Form_UnloadRequested() { tmrScanlist.stop(); }

void frmScanlist::Form_Unload()
{
    // However the window goes, its scan ends and the receiver is let go.
    tmrScanlist.stop();
    Receiver::hold(this, false);
    m_reader.attach(nullptr, 0);
    m_rx.reset();
    if (!rxModel(m_rxtype).isNone())
        setOpenPanelEntries(kCompetingEntries, true);
}

bool frmScanlist::eventFilter(QObject *obj, QEvent *ev)
{
    if (ev->type() == QEvent::MouseButtonPress)
        for (int i = 0; i < ListScan::kBoxes; ++i)
            if (obj == txtFreqlist[i]) {
                txtFreqlist_Click(i);
                break;
            }
    return TavForm::eventFilter(obj, ev);
}

bool frmScanlist::boxValid(int i) const { return sflValid(txtFreqlist[i]->text(), goModel().freqMinKHz, goModel().freqMaxKHz); }

void frmScanlist::setBoxColour(int i, unsigned bbggrr) { setBackColor(txtFreqlist[i], bbggrr); }

std::array<QString, ListScan::kBoxes> frmScanlist::boxTexts() const
{
    std::array<QString, ListScan::kBoxes> t;
    for (int i = 0; i < ListScan::kBoxes; ++i)
        t[i] = txtFreqlist[i]->text();
    return t;
}

int frmScanlist::delayMs()
{
    const double v = numericValue(txtDelay->text());
    const double d = ListScan::delayFromText(txtDelay->text());
    if (d != v)
        txtDelay->setText(QStringLiteral("2"));
    return int(roundHalfEven(d * 1000));
}

void frmScanlist::cmdStart_Click()
{
    if (!m_run.begin())
        return;
    cmdCls_Click();
    bool any = false;
    for (int i = 0; i < ListScan::kBoxes; ++i) {
        setBoxColour(i, kWhiteBox);
        any = any || boxValid(i);
    }
    if (!any) {
        msgBox(QStringList{QStringLiteral("No valid"), QStringLiteral("Frequencies"), QStringLiteral("filled in")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    if (boxValid(0)) {
        setBoxColour(0, kCyanBox);
        hub().Change2FreqA(numericValue(txtFreqlist[0]->text()));
    }
    Receiver::hold(this, true);
    m_reader.begin();
    cmdStop->setEnabled(true);
    for (QPushButton *b : {cmdStart, cmdCls, cmdContinue, cmdLoad, cmdsaveas})
        b->setEnabled(false);

    std::optional<int> update = ListScan::updateFromText(txtUpdate->text());
    if (!update) {
        // A number of any size is refused here, before it could overflow.
        msgBox(QStringList{QStringLiteral("Runs/update: 3 to 10")}, MsgIcon::Exclamation,
               QStringLiteral("Input Error"));
        txtUpdate->setText(QStringLiteral("5"));
        update = 5;
    }
    m_scan.begin(*update);
    const int ms = delayMs();
    lblStartUTC->setText(G.utctext);
    tmrScanlist.setInterval(ms);
    tmrScanlist.start();
}

void frmScanlist::tmrScanlist_Timer()
{
    // A message box of this tick or of the hub runs the event loop: no second
    // tick starts meanwhile.
    const TickGuard tick(this, m_ticking, m_run);
    if (!tick || !tmrScanlist.isActive())
        return;
    Busy busy(this);
    m_scan.tickStart();

    const SmeterReader::Reading got = m_reader.read([this] { cmdStop_Click(); });
    if (got.level) {
        m_scan.storeReading(*got.level);
    } else {
        m_scan.markUnanswered();
        if (got.stopped)
            return;
    }

    setBoxColour(m_scan.slbox, kWhiteBox);
    const std::optional<int> next = m_scan.nextValidBox([this](int i) { return boxValid(i); });
    lblRuns->setText(m_scan.runsText());
    if (!next) {
        // Every box was emptied while the scan ran.
        haltWith({QStringLiteral("No valid"), QStringLiteral("Frequencies"), QStringLiteral("filled in")});
        return;
    }
    setBoxColour(*next, kCyanBox);
    hub().Change2FreqA(numericValue(txtFreqlist[*next]->text()));
}

void frmScanlist::haltWith(const QStringList &message)
{
    cmdStop_Click();
    msgBox(message, MsgIcon::Exclamation, QStringLiteral("Error"));
}

void frmScanlist::cmdStop_Click()
{
    tmrScanlist.stop();
    // The clock texts follow the time in steps of seconds: the stop's own time.
    lblEndUTC->setText(utcTextNow());
    for (QPushButton *b : {cmdCls, cmdContinue, cmdLoad, cmdsaveas})
        b->setEnabled(true);
    Receiver::hold(this, false);
}

void frmScanlist::cmdContinue_Click()
{
    if (!m_run.begin())
        return;
    for (QPushButton *b : {cmdStart, cmdCls, cmdContinue, cmdLoad, cmdsaveas})
        b->setEnabled(false);
    cmdStop->setEnabled(true);
    const int ms = delayMs();
    tmrScanlist.setInterval(ms);
    m_reader.resetMisses();
    tmrScanlist.start();
    lblEndUTC->setText(QString());
    m_scan.resume();
    Receiver::hold(this, true);
}

void frmScanlist::cmdCls_Click()
{
    m_scan.cls();
    cmdContinue->setEnabled(false);
    cmdStart->setEnabled(true);
    lblRuns->setText(QStringLiteral("0000"));
}

void frmScanlist::txtFreqlist_Click(int index)
{
    if (tmrScanlist.isActive() || index < 0 || index >= ListScan::kBoxes)
        return;
    if (boxValid(index))
        hub().Change2FreqA(numericValue(txtFreqlist[index]->text()));
}

void frmScanlist::cmdLoad_Click()
{
    Busy busy(this);
    frmLoadfile::showFor(FileKind::ScanList);
}

void frmScanlist::cmdsaveas_Click()
{
    Busy busy(this);
    frmSavefile::showFor(FileKind::ScanList);
}

void frmScanlist::cmdDiduzu_Click() { showChosenPanel(); }

void frmScanlist::cmdExit_Click()
{
    cmdStop_Click();
    unload();
}

FileResult frmScanlist::sflram2file(const QString &path)
{
    QString error;
    if (!writeTextLines(path, boxLines(), &error))
        return FileResult::failure(error);
    m_saved = boxLines();
    return FileResult::success();
}

QStringList frmScanlist::boxLines() const
{
    return sflram2lines(boxTexts(), goModel().freqMinKHz, goModel().freqMaxKHz);
}

bool frmScanlist::hasUnsavedChanges() { return boxLines() != m_saved; }

FileResult frmScanlist::sflfile2ram(const QString &path)
{
    HourglassGuard hourglass;
    QString why;
    qint64 past = 0;
    const std::optional<QStringList> lines = readKindFile(path, filelimits::kListScan, &why, &past);
    if (!lines)
        return FileResult::failure(QStringLiteral("The file could not be read: ") + why + QLatin1Char('.'));
    int refused = 0;
    const auto boxes = sflfile2boxes(*lines, goModel().freqMinKHz, goModel().freqMaxKHz, &refused);
    for (int i = 0; i < ListScan::kBoxes; ++i)
        txtFreqlist[i]->setText(boxes[i]);
    m_saved = boxLines();
    cmdStart->setEnabled(true);
    cmdContinue->setEnabled(false);
    return FileResult::loaded({past + refused, false});
}

} // namespace tav
