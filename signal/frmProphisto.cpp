#include "signal/frmProphisto.h"

#include "core/tickguard.h"
#include "core/clock.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/ui.h"

namespace tav {

namespace {

constexpr int kWidth = 632, kHeight = 337;
constexpr unsigned kButton = 0x80FFFF; // RGB(255,255,128)
const PanelEntries kCompeting{{WindowId::frmSmeter, WindowId::frmPropagation}, {MainMenuId::Scan}};

} // namespace

frmProphisto::frmProphisto()
    : TavForm(windowId),
      picForm(new Canvas(QStringLiteral("picForm"), kWidth, kHeight, QColor(255, 255, 192), this)),
      m_trace(picForm->picture())
{
    setWindowTitle(QStringLiteral("Propagation imprerssion 2"));
    setFixedSize(kWidth, kHeight);
    picForm->move(0, 0);
    QFont small = font();
    small.setPixelSize(11);
    picForm->picture().setFont(small);

    cmbHisto = new QComboBox(this);
    cmbHisto->setObjectName(QStringLiteral("cmbHisto"));
    cmbHisto->setGeometry(48, 8, 81, 21);
    cmbRange = new QComboBox(this);
    cmbRange->setObjectName(QStringLiteral("cmbRange"));
    cmbRange->setGeometry(136, 8, 81, 21);
    QFont narrow = small;
    narrow.setStretch(QFont::Condensed);
    cmbHisto->setFont(narrow);
    cmbRange->setFont(narrow);
    struct B {
        QPushButton **b;
        const char *name, *caption;
        int left;
    };
    const B buttons[] = {{&cmdStart, "cmdStart", "Start", 232},   {&cmdCls, "cmdCls", "Cls", 296},
                         {&cmdStop, "cmdStop", "Stop", 360},      {&cmdDiduzu, "cmdDiduzu", "DiDuzu", 456},
                         {&cmdExit, "cmdExit", "Exit", 520}};
    for (const B &b : buttons) {
        *b.b = colouredButton(QLatin1String(b.name), QLatin1String(b.caption), kButton, this);
        (*b.b)->setGeometry(b.left, 8, 57, 17);
    }
    // The labels and choosers sit at fixed pixels: they take the small face
    // their boxes were measured for.
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(11);
    bold.setStretch(QFont::Condensed);
    QPalette green = palette();
    green.setColor(QPalette::WindowText, QColor(0, 192, 0));
    green.setColor(QPalette::Text, QColor(0, 192, 0));
    auto label = [&](const char *name, const char *text, int left, int width) {
        QLabel *l = makeLabel(QLatin1String(name), QLatin1String(text), this);
        l->setFont(bold);
        l->setPalette(green);
        l->setGeometry(left, 312, width, 17);
        return l;
    };
    lblStart = label("lblStart", "Start :", 24, 41);
    lblDate = label("lblDate", "", 64, 145);
    lblStation = label("lblStation", "Station :", 240, 49);
    lblFreq = label("lblFreq", "Frequency :", 464, 73);
    lblFrequency = label("lblFrequency", "", 544, 81);
    txtStation = new QLineEdit(this);
    txtStation->setObjectName(QStringLiteral("txtStation"));
    txtStation->setGeometry(296, 312, 137, 19);
    setBackColor(txtStation, kButton);
    txtStation->setPalette([&] {
        QPalette p = txtStation->palette();
        p.setColor(QPalette::Text, QColor(0, 192, 0));
        return p;
    }());

    tmrProphisto.setInterval(850);
    connect(&tmrProphisto, &QTimer::timeout, this, &frmProphisto::tmrProphisto_Timer);
    connect(cmbRange, &QComboBox::activated, this, &frmProphisto::cmbRange_Click);
    connect(cmdStart, &QPushButton::clicked, this, &frmProphisto::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmProphisto::cmdStop_Click);
    connect(cmdCls, &QPushButton::clicked, this, &frmProphisto::cmdCls_Click);
    connect(cmdDiduzu, &QPushButton::clicked, this, &frmProphisto::cmdDiduzu_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmProphisto::cmdExit_Click);
}

void frmProphisto::Form_Load()
{
    m_session.open(this, kCompeting);
    // A new opening measures afresh: the redraw gate of the last one would
    // hold the first histogram back by a minute.
    m_trace.reset();
    m_level = 0;
    m_startMs = 0;
    cmbHisto->clear();
    cmbHisto->addItems({QStringLiteral("Cumulative"), QStringLiteral("Prev. min"), QStringLiteral("No Stats")});
    cmbRange->clear();
    cmbRange->addItems({QStringLiteral(" 18 min"), QStringLiteral(" 60 min"), QStringLiteral("180 min")});
    picForm->picture().clear();
    m_trace.drawFrame(span());
    show();
}

void frmProphisto::Form_Unload()
{
    // However the window goes, the measurement ends and the panel gets its
    // attenuator and the receiver back.
    tmrProphisto.stop();
    m_session.close();
}

qint64 frmProphisto::elapsed() const { return (Clock::monotonicMsecs() - m_startMs) / 1000; }

void frmProphisto::cmbRange_Click()
{
    m_trace.drawTimeTexts(span());
    cmdCls_Click();
}

void frmProphisto::cmdCls_Click()
{
    lblDate->setText(QStringLiteral(" "));
    lblFrequency->setText(QStringLiteral(" "));
    txtStation->setText(QStringLiteral(" "));
    m_trace.cls();
}

void frmProphisto::cmdStart_Click()
{
    m_trace.start();
    cmdCls_Click();
    hub().Update4RxFreq();
    if (m_session.hasReceiver())
        lblFrequency->setText(hub().panelFrequencyText());
    m_session.begin();
    updateClockTexts();
    lblDate->setText(G.utctext + QStringLiteral(" UTC"));
    for (QWidget *w : std::initializer_list<QWidget *>{cmdStart, cmbRange, cmdCls, cmdDiduzu, cmdExit})
        w->setEnabled(false);
    // Elapsed time runs on the monotonic clock: setting the time of day
    // neither ends nor stalls the trace.
    m_startMs = Clock::monotonicMsecs();
    tmrProphisto.start();
}

void frmProphisto::cmdStop_Click()
{
    tmrProphisto.stop();
    m_trace.eraseLevelMark();
    for (QWidget *w : std::initializer_list<QWidget *>{cmdDiduzu, cmdExit, cmdCls, cmbRange, cmdStart})
        w->setEnabled(true);
    m_session.end();
}

void frmProphisto::cmdDiduzu_Click() { showChosenPanel(); }

void frmProphisto::cmdExit_Click()
{
    tmrProphisto.stop();
    unload();
}

void frmProphisto::tmrProphisto_Timer()
{
    // A reply wait runs the event loop: the next tick does not start inside
    // this one (it would count one silence as two misses). One that falls
    // inside another window's exchange reads nothing there (its read would
    // cut into that exchange and count as a miss); it comes once that
    // exchange has ended, so no closing second of a column is lost.
    const TickGuard tick(this, m_ticking, m_tickWaiting, [this] {
        if (tmrProphisto.isActive())
            tmrProphisto_Timer();
    });
    if (!tick)
        return;
    const qint64 secs = elapsed();
    if (m_session.hasReceiver()) {
        const SmeterReader::Reading r = m_session.read([this] { cmdStop_Click(); });
        if (!r.level)
            return;
        m_level = *r.level;
    }
    if (!m_trace.tick(secs, m_level, span(), TraceMeter::histoFromText(cmbHisto->currentText())))
        cmdStop_Click();
}

} // namespace tav
