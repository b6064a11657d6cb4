#include "signal/frmPropagation.h"

#include "core/clock.h"
#include "core/comm.h"
#include "core/exchange.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/setupdata.h"
#include "core/textfile.h"
#include "core/tickguard.h"
#include "core/ui.h"

#include <QScopedValueRollback>
#include <cerrno>

namespace tav {

namespace {

constexpr int kWidth = 632, kHeight = 453;
constexpr unsigned kButton = 0x80FFFF; // RGB(255,255,128)
const PanelEntries kCompeting{{WindowId::frmSmeter, WindowId::frmProphisto}, {MainMenuId::Scan}};
int s_overlaynr = 0;

// A file name without its prefix and extension, as the legends show it.
QString shortName(const QString &name) { return name.size() > 8 ? name.mid(4, name.size() - 8) : QString(); }

void setTextColour(QWidget *w, QColor c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    w->setPalette(pal);
}

} // namespace

int frmPropagation::overlayNumber() { return s_overlaynr; }

frmPropagation::frmPropagation()
    : TavForm(windowId),
      picForm(new Canvas(QStringLiteral("picForm"), kWidth, kHeight, propBackground(), this)),
      m_meter(picForm->picture())
{
    setWindowTitle(QStringLiteral("Propagation impression 1"));
    setFixedSize(kWidth, kHeight);
    picForm->move(0, 0);
    QFont small = font();
    small.setPixelSize(11);
    picForm->picture().setFont(small);

    struct B {
        QPushButton **b;
        const char *name, *caption;
        int left;
    };
    const B buttons[] = {{&cmdStart, "cmdStart", "Start", 72},     {&cmdCls, "cmdCls", "Cls", 136},
                         {&cmdStop, "cmdStop", "Stop", 200},       {&cmdSaveas, "cmdSaveas", "Save As", 280},
                         {&cmdLoad, "cmdLoad", "Load", 344},       {&cmdDiduzu, "cmdDiduzu", "DiDuzu", 424},
                         {&cmdExit, "cmdExit", "Exit", 488}};
    for (const B &b : buttons) {
        *b.b = colouredButton(QLatin1String(b.name), QLatin1String(b.caption), kButton, this);
        (*b.b)->setGeometry(b.left, 8, 57, 17);
    }
    lblSaveas = makeLabel(QStringLiteral("lblSaveas"), QString(), this);
    lblSaveas->setGeometry(256, 32, 81, 17);
    const QPoint legend[] = {{344, 32}, {344, 48}, {432, 32}, {432, 48}};
    for (int i = 0; i < 4; ++i) {
        lblPropfiles[size_t(i)] = makeLabel(QStringLiteral("lblPropfiles(%1)").arg(i), QString(), this);
        lblPropfiles[size_t(i)]->setGeometry(legend[i].x(), legend[i].y(), 81, 17);
    }
    // The bottom row's boxes sit at fixed pixels: the captions take the small
    // bold face the boxes were measured for, and each stops where the next box begins.
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(11);
    bold.setStretch(QFont::Condensed);
    static const char *names[] = {"Freqency:", "Station:", "Start:"};
    static const int nameLeft[] = {56, 200, 440};
    static const int nameWidth[] = {64, 48, 32};
    for (int i = 0; i < 3; ++i) {
        lblName[size_t(i)] = makeLabel(QStringLiteral("lblName(%1)").arg(i), QLatin1String(names[i]), this);
        lblName[size_t(i)]->setFont(bold);
        setTextColour(lblName[size_t(i)], QColor(0, 192, 0));
        lblName[size_t(i)]->setGeometry(nameLeft[i], 432, nameWidth[i], 17);
    }
    lblFrequency = makeLabel(QStringLiteral("lblFrequency"), QString(), this);
    lblFrequency->setFont(bold);
    lblFrequency->setGeometry(120, 432, 65, 17);
    txtStation = new QLineEdit(this);
    txtStation->setObjectName(QStringLiteral("txtStation"));
    keepLatin1(txtStation, QStringLiteral("The station name"));
    txtStation->setGeometry(248, 432, 177, 19);
    setBackColor(txtStation, kButton);
    lblDate = makeLabel(QStringLiteral("lblDate"), QString(), this);
    lblDate->setFont(bold);
    lblDate->setGeometry(472, 432, 145, 17);

    tmrPropagation.setInterval(850);
    connect(&tmrPropagation, &QTimer::timeout, this, &frmPropagation::tmrPropagation_Timer);
    connect(cmdStart, &QPushButton::clicked, this, &frmPropagation::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmPropagation::cmdStop_Click);
    connect(cmdCls, &QPushButton::clicked, this, &frmPropagation::cmdCls_Click);
    connect(cmdSaveas, &QPushButton::clicked, this, &frmPropagation::cmdSaveas_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &frmPropagation::cmdLoad_Click);
    connect(cmdDiduzu, &QPushButton::clicked, this, &frmPropagation::cmdDiduzu_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmPropagation::cmdExit_Click);
}

void frmPropagation::Form_Load()
{
    m_session.open(this, kCompeting);
    m_meter.start();
    m_level = 0;
    picForm->picture().clear();
    m_meter.drawAxes();
    setButtons(true);
    // A panel's Exit ends the program at once: the recording is closed first.
    registerOpenFileCloser(windowName(windowId), [this] { closeRecording(false); });
    show();
}

void frmPropagation::Form_Unload()
{
    // However the window goes: the measurement ends, the panel gets its
    // attenuator and the receiver back, and the recording is closed.
    tmrPropagation.stop();
    closeRecording(false);
    m_session.close();
    registerOpenFileCloser(windowName(windowId), {});
}

void frmPropagation::setButtons(bool idle)
{
    for (QPushButton *b : {cmdStart, cmdCls, cmdDiduzu, cmdSaveas, cmdLoad, cmdExit})
        b->setEnabled(idle);
}

void frmPropagation::cmdCls_Click()
{
    picForm->picture().clear();
    m_meter.drawAxes();
    lblFrequency->clear();
    lblDate->clear();
    txtStation->clear();
    for (QLabel *l : lblPropfiles)
        l->clear();
}

void frmPropagation::cmdStart_Click()
{
    // The reads of the start (the panel's, the attenuator's) are told once.
    const CommControl::OwnWords ownWords(rxPort());
    cmdCls_Click();
    hub().Update4RxFreq();
    m_session.begin();
    // After the start's reads (the hold refreshes the panel too), so the
    // window names the frequency the panel shows.
    if (m_session.hasReceiver())
        lblFrequency->setText(hub().panelFrequencyText());
    updateClockTexts();
    lblDate->setText(G.utctext + QStringLiteral(" UTC"));
    setButtons(false);
    m_meter.start();
    tmrPropagation.start();
}

void frmPropagation::closeRecording(bool tell)
{
    if (!m_file.isOpen())
        return;
    m_file.close();
    lblSaveas->clear();
    if (tell)
        msgBox(QStringList{QStringLiteral("The Propagation data is now"), QStringLiteral("saved to the file ") + m_fileName},
               MsgIcon::Exclamation, QStringLiteral("Propagation"));
}

void frmPropagation::cmdStop_Click()
{
    tmrPropagation.stop();
    setButtons(true);
    closeRecording(true);
    m_session.end();
}

void frmPropagation::cmdSaveas_Click()
{
    Busy busy(this);
    frmSavefile::showFor(FileKind::Propagation);
}

void frmPropagation::cmdLoad_Click()
{
    Busy busy(this);
    frmLoadfile::showFor(FileKind::Propagation);
}

void frmPropagation::cmdDiduzu_Click() { showChosenPanel(); }

void frmPropagation::cmdExit_Click()
{
    tmrPropagation.stop();
    const int a = msgBox(QStringList{QStringLiteral("Do you want to save data"), QStringLiteral("from the Propagation window")},
                         MsgIcon::Question, QStringLiteral("Exit"), MsgButtons::YesNoCancel);
    if (a == vbYes)
        cmdSaveas_Click();
    else if (a == vbNo)
        unload();
}

void frmPropagation::tmrPropagation_Timer()
{
    // A reply wait lets the timer fire again: a tick inside this window's own
    // tick is dropped, as that tick does this moment's work. One that falls
    // inside another window's exchange comes once that exchange has ended,
    // so no closing second is lost to it.
    const TickGuard tick(this, m_inTick, m_tickWaiting, [this] {
        if (tmrPropagation.isActive())
            tmrPropagation_Timer();
    });
    if (!tick)
        return;
    const QTime ut = utcFromLocal(Clock::now(), setting(Setting::UtcOffsetHours)).time();
    // Without a receiver the level stays where it was.
    std::optional<float> reading = m_level;
    if (m_session.hasReceiver()) {
        const SmeterReader::Reading r = m_session.read([this] { cmdStop_Click(); });
        if (r.stopped)
            return;
        reading = r.level;
        if (reading)
            m_level = *reading;
    }
    // A missed reading still takes its tick: a period that closes now closes
    // with what it has, so the minute keeps its line in the file.
    const std::optional<QString> line = m_meter.tick(ut.hour(), ut.minute(), ut.second(), reading, m_file.isOpen());
    if (line && m_file.isOpen()) {
        const QByteArray bytes = line->toLatin1() + "\r\n";
        errno = 0;
        if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
            const QString why = writeErrorText(m_file, errno);
            m_file.close();
            lblSaveas->clear();
            msgBox(QStringList{QStringLiteral("The propagation file"), m_fileName, QStringLiteral("could not be written:"), why},
                   MsgIcon::Exclamation, QStringLiteral("Error"));
        }
    }
}

void frmPropagation::abandonRecording()
{
    // The file the recording went to is gone (its save failed at the last
    // step): nothing more is written and the label no longer names it.
    closeRecording(false);
}

FileResult frmPropagation::panram2file(const QString &path)
{
    // One recording at a time: a new file ends the old one.
    closeRecording(false);
    hub().Update4RxFreq();
    const QString freq = m_session.hasReceiver() ? hub().panelFrequencyText() : QString();
    updateClockTexts();
    const QString start = G.utctext + QStringLiteral(" UTC");
    const QString head = QStringList{start, freq, txtStation->text()}.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!isLatin1(head))
        return FileResult::failure(QStringLiteral("The station name holds characters that the file cannot keep."));
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return FileResult::failure(m_file.errorString());
    errno = 0;
    if (m_file.write(head.toLatin1()) != head.size() || !m_file.flush()) {
        const QString why = writeErrorText(m_file, errno);
        m_file.close();
        return FileResult::failure(why);
    }
    m_fileName = G.filenames[FileKind::Propagation];
    lblFrequency->setText(freq);
    lblSaveas->setText(shortName(m_fileName));
    lblDate->setText(start);
    return FileResult::success();
}

FileResult frmPropagation::panfile2ram(const QString &path)
{
    QString why;
    const std::optional<QStringList> lines = readKindFile(path, filelimits::kPropagation, &why);
    if (!lines)
        return FileResult::failure(why);
    s_overlaynr = s_overlaynr % 4 + 1;
    const QColor c = propOverlayColour(s_overlaynr);
    QLabel *legend = lblPropfiles[size_t(s_overlaynr - 1)];
    setTextColour(legend, c);
    legend->setText(shortName(G.filenames[FileKind::Propagation]) + QStringLiteral("   "));
    closeRecording(false);
    const auto ask = [] {
        const int a = msgBox(QStringList{QStringLiteral("Click in YES to add data of next hour"),
                                         QStringLiteral("Click in NO to get data of next hour only")},
                             MsgIcon::Information, QStringLiteral("Next hour"), MsgButtons::YesNoCancel);
        return a == vbYes ? NextHour::Add : a == vbNo ? NextHour::Only : NextHour::Stop;
    };
    const std::array<QString, 3> head = drawPropOverlay(picForm->picture(), *lines, c, ask);
    lblDate->setText(head[0]);
    lblFrequency->setText(head[1]);
    txtStation->setText(head[2]);
    for (QWidget *w : {static_cast<QWidget *>(lblDate), static_cast<QWidget *>(lblFrequency),
                       static_cast<QWidget *>(txtStation)})
        setTextColour(w, c);
    return FileResult::success();
}

} // namespace tav
