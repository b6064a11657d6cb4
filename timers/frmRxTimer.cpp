#include "timers/frmRxTimer.h"
#include "drivers/receiver.h"

#include "core/clock.h"
#include "core/delay.h"
#include "core/exchange.h"
#include "core/filekinds.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/setupdata.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

namespace tav {

namespace {

constexpr unsigned kRunColour = kOrange;       // RGB(255,128,0)
constexpr unsigned kIdleRowColour = kYellow;   // RGB(255,255,128)
constexpr unsigned kIdleClockColour = kLightYellow;

const QString kArmedCaption = QStringLiteral("  Timer is ON          ");

QString arrayName(const QString &base, int i) { return base + QLatin1Char('(') + QString::number(i) + QLatin1Char(')'); }

QLabel *cell(const QString &name, const QString &text, QWidget *parent)
{
    QLabel *l = makeLabel(name, text, parent);
    l->setAlignment(Qt::AlignCenter);
    l->setMinimumWidth(18);
    l->setAutoFillBackground(true);
    return l;
}

QString clockText19(const QDateTime &t) { return t.toString(QStringLiteral("yyyy MM dd hh:mm:ss")); }

} // namespace

frmRxTimer::frmRxTimer() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Timer Programmimg"));
    setBackColor(this, kLightYellow);
    auto *top = new QVBoxLayout(this);

    // The six programs.
    fraProgram = makeFrame(QStringLiteral("fraProgram"), QString(), this);
    auto *pg = new QGridLayout(fraProgram);
    pg->setHorizontalSpacing(2);
    top->addWidget(fraProgram);
    for (int n = 1; n <= kPrograms; ++n) {
        Row &r = rows[size_t(n)];
        const QString num = QString::number(n);
        int col = 0;
        for (int i = 0; i < 3; ++i)
            pg->addWidget(r.date[size_t(i)] = cell(arrayName("lblDate" + num, i), QString(), fraProgram), n, col++);
        // The rows read as the editor does: 12:30 and 06,195.000.
        auto sep = [&](const char *text) {
            auto *l = new QLabel(QLatin1String(text), fraProgram);
            l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
            pg->addWidget(l, n, col++);
        };
        for (int i = 0; i < 3; ++i) {
            pg->addWidget(r.time[size_t(i)] = cell(arrayName("lblTime" + num, i), QString(), fraProgram), n, col++);
            if (i == 0)
                sep(":");
        }
        for (int i = 0; i < 6; ++i)
            pg->addWidget(r.rx[size_t(i)] = cell(arrayName("lblRxSetting" + num, i), QString(), fraProgram), n, col++);
        for (int i = 7; i >= 0; --i) {
            pg->addWidget(r.freq[size_t(i)] = cell(arrayName("lblFreq" + num, i), QString(), fraProgram), n, col++);
            if (i == 6)
                sep(",");
            else if (i == 3)
                sep(".");
        }
        pg->addWidget(r.shp = cell("shpProg" + num, QString(), fraProgram), n, col++);
        r.cmdFixClr[0] = arrayButton("cmdFixClr" + num, 0, "Fix " + num, fraProgram);
        r.cmdFixClr[1] = arrayButton("cmdFixClr" + num, 1, "Clr " + num, fraProgram);
        pg->addWidget(r.cmdFixClr[0], n, col++);
        pg->addWidget(r.cmdFixClr[1], n, col++);
        connect(r.cmdFixClr[0], &QPushButton::clicked, this, [this, n] { cmdFix_Click(n); });
        connect(r.cmdFixClr[1], &QPushButton::clicked, this, [this, n] { cmdClr_Click(n); });
    }

    auto *bottom = new QHBoxLayout;
    top->addLayout(bottom);

    // The editor.
    fraSetRx = makeFrame(QStringLiteral("fraSetRx"), QString(), this);
    auto *eg = new QGridLayout(fraSetRx);
    bottom->addWidget(fraSetRx, 1);
    // Row 0 the "Select values" titles, row 1 the field names (lblName), row 2
    // the values, row 3 the spin buttons; the separators stand between the
    // hour and minute and in the frequency.
    int col = 0;
    auto caption = [&](const QString &name, const char *text, int span) {
        QLabel *l = makeLabel(name, QLatin1String(text), fraSetRx);
        l->setAlignment(Qt::AlignCenter);
        eg->addWidget(l, 1, col, 1, span);
    };
    auto selectValues = [&](int index, int first, int span) {
        QLabel *l = makeLabel(arrayName(QStringLiteral("lblName"), index), QStringLiteral("Select values"), fraSetRx);
        l->setAlignment(Qt::AlignCenter);
        eg->addWidget(l, 0, first, 1, span);
    };
    auto valueCol = [&](QLabel *&label, const QString &lname, const QString &text, SpinButton *&spin,
                        const QString &sname) {
        label = cell(lname, text, fraSetRx);
        eg->addWidget(label, 2, col);
        spin = new SpinButton(sname, fraSetRx);
        eg->addWidget(spin, 3, col, Qt::AlignHCenter);
        ++col;
    };
    auto separator = [&](int index, const char *text) {
        QLabel *l = makeLabel(arrayName(QStringLiteral("lblSepchar"), index), QLatin1String(text), fraSetRx);
        l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        eg->addWidget(l, 2, col++, Qt::AlignCenter);
    };
    const char *dateNames[] = {"DD", "MM", "YY"};
    const char *dateText[] = {"15", "Aug", "02"}, *timeText[] = {"12", "30", "10"};
    for (int i = 0; i < 3; ++i) {
        caption(arrayName(QStringLiteral("lblName"), 1 + i), dateNames[i], 1);
        valueCol(lblDate[size_t(i)], arrayName("lblDate", i), QLatin1String(dateText[i]), SpinDate[size_t(i)],
                 arrayName("SpinDate", i));
        connect(SpinDate[size_t(i)], &SpinButton::SpinUp, this, [this, i] { SpinDate_Spin(i, true); });
        connect(SpinDate[size_t(i)], &SpinButton::SpinDown, this, [this, i] { SpinDate_Spin(i, false); });
    }
    caption(arrayName(QStringLiteral("lblName"), 4), "Start UTC", 3);
    for (int i = 0; i < 3; ++i) {
        if (i == 2)
            caption(arrayName(QStringLiteral("lblName"), 5), "Dur.", 1);
        valueCol(lblTime[size_t(i)], arrayName("lblTime", i), QLatin1String(timeText[i]), spnTime[size_t(i)],
                 arrayName("spnTime", i));
        if (i == 0)
            separator(0, ":");
        connect(spnTime[size_t(i)], &SpinButton::SpinUp, this, [this, i] { spnTime_Spin(i, true); });
        connect(spnTime[size_t(i)], &SpinButton::SpinDown, this, [this, i] { spnTime_Spin(i, false); });
    }
    selectValues(0, 0, col);
    const char *rxNames[] = {"Att", "Bw", "Pbs", "BWC", "Mode", "Agc"};
    const char *rxText[] = {"Off", "Wide", "+0.0", "0.0", "AM", "Fast"};
    for (int i = 0; i < 6; ++i) {
        caption(arrayName(QStringLiteral("lblName"), 6 + i), rxNames[i], 1);
        valueCol(lblRxSetting[size_t(i)], arrayName("lblRxSetting", i), QLatin1String(rxText[i]),
                 spnRxSetting[size_t(i)], arrayName("spnRxSetting", i));
        connect(spnRxSetting[size_t(i)], &SpinButton::SpinUp, this, [this, i] { spnRxSetting_Spin(i, true); });
        connect(spnRxSetting[size_t(i)], &SpinButton::SpinDown, this, [this, i] { spnRxSetting_Spin(i, false); });
    }
    // The digits read as MHz, kHz and Hz groups: 06,195.000 for 6195 kHz.
    const int freqStart = col;
    for (int i = 7; i >= 0; --i) {
        if (i == 7)
            caption(arrayName(QStringLiteral("lblName"), 12), "MHz", 2);
        else if (i == 5)
            caption(arrayName(QStringLiteral("lblName"), 13), "kHz", 3);
        else if (i == 2)
            caption(arrayName(QStringLiteral("lblName"), 14), "Hz", 3);
        valueCol(lblFreq[size_t(i)], arrayName("lblFreq", i), QStringLiteral("0"), spnFreq[size_t(i)],
                 arrayName("spnFreq", i));
        if (i == 6)
            separator(1, ",");
        else if (i == 3)
            separator(2, ".");
        connect(spnFreq[size_t(i)], &SpinButton::SpinUp, this, [this, i] { spnFreq_Spin(i, true); });
        connect(spnFreq[size_t(i)], &SpinButton::SpinDown, this, [this, i] { spnFreq_Spin(i, false); });
    }
    selectValues(15, freqStart, col - freqStart);
    cmdRX = makeButton(QStringLiteral("cmdRX"), QStringLiteral("RX"), fraSetRx);
    cmdUTC = makeButton(QStringLiteral("cmdUTC"), QStringLiteral("UTC"), fraSetRx);
    eg->addWidget(cmdRX, 2, col);
    eg->addWidget(cmdUTC, 3, col);
    connect(cmdRX, &QPushButton::clicked, this, &frmRxTimer::cmdRX_Click);
    connect(cmdUTC, &QPushButton::clicked, this, &frmRxTimer::cmdUTC_Click);

    // Control.
    fraProgControl = makeFrame(QStringLiteral("fraProgControl"), QString(), this);
    auto *cg = new QGridLayout(fraProgControl);
    bottom->addWidget(fraProgControl);
    cmdTimerOnoff[1] = arrayButton(QStringLiteral("cmdTimerOnoff"), 1, QStringLiteral("Timer On"), fraProgControl);
    cmdTimerOnoff[0] = arrayButton(QStringLiteral("cmdTimerOnoff"), 0, QStringLiteral("Timer Off"), fraProgControl);
    cmdLineoutOnoff[0] = arrayButton(QStringLiteral("cmdLineoutOnoff"), 0, QStringLiteral("Line Out Off"), fraProgControl);
    cmdLineoutOnoff[1] = arrayButton(QStringLiteral("cmdLineoutOnoff"), 1, QStringLiteral("Line Out On"), fraProgControl);
    cmdClrAll = makeButton(QStringLiteral("cmdClrAll"), QStringLiteral("Clear All"), fraProgControl);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), fraProgControl);
    cmdLoad = makeButton(QStringLiteral("cmdLoad"), QStringLiteral("Load"), fraProgControl);
    cmdSave = makeButton(QStringLiteral("cmdSave"), QStringLiteral("Save"), fraProgControl);
    // The two buttons of a pair share one place; one is visible at a time.
    cg->addWidget(cmdTimerOnoff[1], 0, 0);
    cg->addWidget(cmdTimerOnoff[0], 0, 0);
    cg->addWidget(cmdLineoutOnoff[1], 0, 1);
    cg->addWidget(cmdLineoutOnoff[0], 0, 1);
    cg->addWidget(cmdClrAll, 1, 0);
    cg->addWidget(cmdExit, 1, 1);
    cg->addWidget(cmdLoad, 2, 0);
    cg->addWidget(cmdSave, 2, 1);
    lblNameLT = makeLabel(QStringLiteral("lblNameLT"), QStringLiteral("    LT      :"), fraProgControl);
    lblNameUTC = makeLabel(QStringLiteral("lblNameUTC"), QStringLiteral("    UTC   :"), fraProgControl);
    lblLT = makeLabel(QStringLiteral("lblLT"), QStringLiteral("2001 12 31   23:59:59"), fraProgControl);
    lblUTC = makeLabel(QStringLiteral("lblUTC"), QStringLiteral("2001 12 31   23:59:59"), fraProgControl);
    for (QLabel *l : {lblNameUTC, lblUTC})
        l->setAutoFillBackground(true);
    cg->addWidget(lblNameLT, 3, 0);
    cg->addWidget(lblLT, 3, 1);
    cg->addWidget(lblNameUTC, 4, 0);
    cg->addWidget(lblUTC, 4, 1);
    for (int i = 0; i < 2; ++i) {
        connect(cmdTimerOnoff[size_t(i)], &QPushButton::clicked, this, [this, i] { timeronoff(i); });
        connect(cmdLineoutOnoff[size_t(i)], &QPushButton::clicked, this, [this, i] { lineoutonoff(i); });
    }
    connect(cmdClrAll, &QPushButton::clicked, this, &frmRxTimer::cmdClrAll_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmRxTimer::cmdExit_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &frmRxTimer::cmdLoad_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmRxTimer::cmdSave_Click);

    tmrCurrenTime.setInterval(980);
    tmrTestprog.setInterval(5000);
    tmrDuration.setInterval(5000);
    connect(&tmrCurrenTime, &QTimer::timeout, this, &frmRxTimer::tmrCurrenTime_Timer);
    connect(&tmrTestprog, &QTimer::timeout, this, &frmRxTimer::tmrTestprog_Timer);
    connect(&tmrDuration, &QTimer::timeout, this, &frmRxTimer::tmrDuration_Timer);
}

frmRxTimer::~frmRxTimer() = default;

// ---- load and unload ----

void frmRxTimer::Form_Load()
{
    m_type = goModel().rxtype;
    m_rx = makeReceiver();
    if (!m_rx)
        m_type = 0;
    editor = TimerEditor(m_type);
    fitValueLabels();
    table = TimerTable();
    m_saved = tprLines(table.progdata);
    curprog = 1;
    durticks = 0;
    marqueephase = 0;
    m_armed = false;
    m_silentReported = false;
    for (int n = 1; n <= kPrograms; ++n) {
        clearRowCaptions(n);
        setRowColour(n, kIdleRowColour);
    }
    setBackColor(lblNameUTC, kIdleClockColour);
    setBackColor(lblUTC, kIdleClockColour);
    // The clocks hold a time from the start, so no check ever compares with an empty one.
    tmrCurrenTime_Timer();
    tmrCurrenTime.start();
    getztime();
    editor.duration = 10;
    showEditor();
    getrxsetting();
    // One of the pair shows even when the receiver takes nothing now.
    m_lineOn = false;
    showLineButtons();
    lineoutonoff(0);
    cmdTimerOnoff[0]->hide();
    cmdTimerOnoff[1]->show();
    fraSetRx->setEnabled(true);
    cmdExit->setEnabled(true);
    applyEditingButtons();
    setWindowTitle(QStringLiteral("Timer Programmimg"));
}

void frmRxTimer::Form_Unload()
{
    if (m_armed)
        endRun();
    tmrCurrenTime.stop();
    tmrTestprog.stop();
    tmrDuration.stop();
    // A line output goes back on for listening; a relay stays off.
    if (m_rx && !m_rx->model().timerRelay && m_rx->model().lineOutput)
        lineoutonoff(1);
    m_rx.reset();
}

// ---- editor ----

void frmRxTimer::fitValueLabels()
{
    // Each column is as wide as the widest text its field can show for this
    // receiver, in the program rows as in the editor, so no value is cut.
    auto fit = [](QLabel *editorLabel, const QStringList &texts, const std::vector<QLabel *> &rowLabels) {
        const QFontMetrics fm(editorLabel->font());
        int w = 0;
        for (const QString &t : texts)
            w = std::max(w, fm.horizontalAdvance(t));
        const QMargins m = editorLabel->contentsMargins();
        w += m.left() + m.right() + 2 * editorLabel->frameWidth() + 2 * editorLabel->margin() + 6;
        editorLabel->setMinimumWidth(w);
        for (QLabel *l : rowLabels)
            l->setMinimumWidth(w);
    };
    auto column = [this](auto member, int i) {
        std::vector<QLabel *> out;
        for (int n = 1; n <= kPrograms; ++n)
            out.push_back((rows[size_t(n)].*member)[size_t(i)]);
        return out;
    };
    QStringList days, months, years, clock, durations, digits;
    for (int i = 1; i <= 31; ++i)
        days << QString::number(i);
    for (int i = 1; i <= 12; ++i)
        months << monthName(i);
    for (int y = kFirstYear; y <= kLastYear; ++y)
        years << QString::number(y).right(2);
    for (int i = 0; i <= 59; ++i)
        clock << padded(i, 2);
    for (int i = 1; i <= 240; ++i)
        durations << QString::number(i);
    for (int i = 0; i <= 9; ++i)
        digits << QString::number(i);
    const QStringList dateTexts[3] = {days, months, years};
    const QStringList timeTexts[3] = {clock, clock, durations};
    for (int i = 0; i < 3; ++i) {
        fit(lblDate[size_t(i)], dateTexts[i], column(&Row::date, i));
        fit(lblTime[size_t(i)], timeTexts[i], column(&Row::time, i));
    }
    for (int i = 0; i < 6; ++i)
        fit(lblRxSetting[size_t(i)], editor.rxLabelTexts(i), column(&Row::rx, i));
    for (int k = 0; k < 8; ++k)
        fit(lblFreq[size_t(k)], digits, column(&Row::freq, k));
}

void frmRxTimer::showEditor()
{
    for (int i = 0; i < 3; ++i) {
        lblDate[size_t(i)]->setText(editor.dateLabel(i));
        lblTime[size_t(i)]->setText(editor.timeLabel(i));
    }
    for (int i = 0; i < 6; ++i) {
        lblRxSetting[size_t(i)]->setText(editor.rxLabel(i));
        spnRxSetting[size_t(i)]->setEnabled(editor.rxEnabled[size_t(i)]);
    }
    for (int k = 0; k < 8; ++k)
        lblFreq[size_t(k)]->setText(editor.freqLabel(k));
}

void frmRxTimer::getztime()
{
    editor.setUtc(utcFromLocal(Clock::now(), setting(Setting::UtcOffsetHours)));
    showEditor();
}

void frmRxTimer::reportSilent(const NoAnswer &noAnswer)
{
    for (QLabel *l : lblRxSetting)
        l->setText(QStringLiteral("?"));
    if (m_silentReported)
        return;
    const QStringList said = noAnswer.text({QStringLiteral("The receiver does not answer."),
                                            QStringLiteral("Please make sure that it is switched on and connected.")});
    m_silentReported = !said.isEmpty();
    if (m_silentReported)
        msgBox(said, MsgIcon::Exclamation, QStringLiteral("Timer Programming"));
}

void frmRxTimer::getrxsetting()
{
    if (!m_rx)
        return;
    const NoAnswer noAnswer;
    const std::optional<RxSetting> r = m_rx->readSetting();
    const bool answered = r.has_value();
    if (answered)
        editor.setFromReceiver(*r);
    double kHz = hub().Update2RxFreq();
    // A receiver that tunes in steps of a few Hz reads 6000 kHz back as
    // 5999.999. The editor takes the frequency as its panel shows it, to 10 Hz.
    if (rxModel(m_type).tuningStepHz > 0)
        kHz = std::round(kHz * 100.0) / 100.0;
    editor.setFrequencyKHz(kHz);
    showEditor();
    if (!answered)
        reportSilent(noAnswer);
}

void frmRxTimer::SpinDate_Spin(int index, bool up)
{
    editor.spinDate(index, up);
    showEditor();
}

void frmRxTimer::spnTime_Spin(int index, bool up)
{
    editor.spinTime(index, up);
    showEditor();
}

void frmRxTimer::spnFreq_Spin(int index, bool up)
{
    editor.spinFreq(index, up);
    showEditor();
}

void frmRxTimer::spnRxSetting_Spin(int index, bool up)
{
    editor.spinRxSetting(index, up);
    showEditor();
}

void frmRxTimer::cmdRX_Click()
{
    Busy busy(this);
    cmdRX->setEnabled(false);
    getrxsetting();
    cmdRX->setEnabled(true);
}

void frmRxTimer::cmdUTC_Click()
{
    cmdUTC->setEnabled(false);
    getztime();
    cmdUTC->setEnabled(true);
}

void frmRxTimer::cmdExit_Click() { unload(); }

// ---- programs ----

void frmRxTimer::fixprogdata(int n) { table.progdata[size_t(n)] = editor.toRow(); }

bool frmRxTimer::toolate(int kind)
{
    // Arming checks program 1, the one that will run; Fix checks the editor.
    const QString start = kind == 2 ? startText(table.progdata[1]) : editor.startText();
    if (!TimerTable::tooLate(start, rxtimerutc))
        return false;
    const QStringList lines =
        kind == 1 ? QStringList{QStringLiteral("You are trying to program"), QStringLiteral("a past or running event."),
                                QStringLiteral("Sorry, you are too late ! !")}
                  : QStringList{QStringLiteral("You are trying to start the timer for"),
                                QStringLiteral("a programmed event that already"),
                                QStringLiteral("has started or that already has past. "),
                                QStringLiteral("Sorry, you are too late ! !")};
    msgBox(lines, MsgIcon::Exclamation, QStringLiteral("Conflict in Time"));
    return true;
}

bool frmRxTimer::tooearly(int n)
{
    if (!table.tooEarly(n, editor.startText()))
        return false;
    msgBox(QStringList{QStringLiteral("New event starts before"), QStringLiteral("the previous one ends")},
           MsgIcon::Exclamation, QStringLiteral("Conflict of events"));
    return true;
}

void frmRxTimer::clearRowCaptions(int n)
{
    Row &r = rows[size_t(n)];
    for (QLabel *l : r.date)
        l->clear();
    for (QLabel *l : r.time)
        l->clear();
    for (QLabel *l : r.rx)
        l->clear();
    for (QLabel *l : r.freq)
        l->clear();
    r.shp->clear();
    r.shp->setToolTip(QString());
}

void frmRxTimer::setRowColour(int n, unsigned colour)
{
    Row &r = rows[size_t(n)];
    for (QLabel *l : r.date)
        setBackColor(l, colour);
    for (QLabel *l : r.time)
        setBackColor(l, colour);
    for (QLabel *l : r.rx)
        setBackColor(l, colour);
    for (QLabel *l : r.freq)
        setBackColor(l, colour);
}

void frmRxTimer::applyEditingButtons()
{
    const int k = table.highestFixed();
    for (int n = 1; n <= kPrograms; ++n) {
        Row &r = rows[size_t(n)];
        r.cmdFixClr[0]->setEnabled(k == 0 ? n == 1 : (n == k || n == k + 1));
        r.cmdFixClr[1]->setEnabled(k != 0 && n == k);
    }
    cmdTimerOnoff[1]->setEnabled(table.progfixed[1]);
    cmdClrAll->setEnabled(table.progfixed[1]);
    cmdLoad->setEnabled(true);
    cmdSave->setEnabled(true);
}

void frmRxTimer::cmdFix_Click(int n)
{
    if (n < 1 || n > kPrograms || m_armed)
        return;
    if (n == 1 ? toolate(1) : tooearly(n))
        return;
    // An unattended run must never stop at the hub's range message.
    if (!rxModel(m_type).isNone()) {
        const double f = editor.frequencyHz() / 1000.0;
        if (!(f >= goModel().freqMinKHz && f <= goModel().freqMaxKHz)) {
            msgBox(QStringList{QStringLiteral("The frequency lies outside the receiver's range:"),
                               numPlain(goModel().freqMinKHz) + QStringLiteral(" to ") + numPlain(goModel().freqMaxKHz) +
                                   QStringLiteral(" kHz")},
                   MsgIcon::Exclamation, QStringLiteral("Input Error"));
            return;
        }
    }
    // A program the file reader would refuse must not be stored either, or
    // Save writes a file that the next Load refuses (a silent receiver at the
    // window's load leaves settings no program can hold).
    const QString problem = timerRowProblem(editor.toRow(), m_type);
    if (!problem.isEmpty()) {
        msgBox(QStringList{QStringLiteral("Program %1 cannot be fixed:").arg(n), problem},
               MsgIcon::Exclamation, QStringLiteral("Input Error"));
        return;
    }
    fixprogdata(n);
    showRow(n, editor);
    table.progfixed[size_t(n)] = true;
    applyEditingButtons();
}

void frmRxTimer::showRow(int n, const TimerEditor &e)
{
    Row &r = rows[size_t(n)];
    for (int i = 0; i < 3; ++i) {
        r.date[size_t(i)]->setText(e.dateLabel(i));
        r.time[size_t(i)]->setText(e.timeLabel(i));
    }
    for (int i = 0; i < 6; ++i)
        r.rx[size_t(i)]->setText(e.rxLabel(i));
    for (int k = 0; k < 8; ++k)
        r.freq[size_t(k)]->setText(e.freqLabel(k));
}

void frmRxTimer::cmdClr_Click(int n)
{
    if (n < 1 || n > kPrograms || m_armed)
        return;
    table.clearRow(n);
    clearRowCaptions(n);
    applyEditingButtons();
}

void frmRxTimer::cmdClrAll_Click()
{
    if (m_armed)
        return;
    const int answer = msgBox(QStringList{QStringLiteral("You really want to clear/cancel"),
                                          QStringLiteral("all Timer Programming")},
                              MsgIcon::Question, QStringLiteral("Timer Programming"), MsgButtons::YesNoCancel);
    if (answer != vbYes)
        return;
    for (int n = kPrograms; n >= 1; --n)
        cmdClr_Click(n);
}

// ---- files ----

void frmRxTimer::cmdSave_Click()
{
    if (m_armed)
        return;
    tprdata() = table.progdata;
    frmSavefile::showFor(FileKind::TimerPrograms);
}

void frmRxTimer::saveChanges()
{
    if (m_armed) {
        msgBox(QStringList{QStringLiteral("The programs cannot be saved while the timer is on."),
                           QStringLiteral("Press \"Timer Off\" first, then save them.")},
               MsgIcon::Exclamation, QStringLiteral("Timer Programming"));
        return;
    }
    cmdSave_Click();
}

void frmRxTimer::cmdLoad_Click()
{
    if (m_armed)
        return;
    frmLoadfile::showFor(FileKind::TimerPrograms);
}

QStringList frmRxTimer::fixFilePrograms(const std::array<ProgRow, kPrograms + 1> &rows)
{
    if (m_armed)
        return {};
    const QStringList left = table.takePrograms(rows, rxtimerutc);
    for (int n = 1; n <= kPrograms; ++n) {
        clearRowCaptions(n);
        if (!table.progfixed[size_t(n)])
            continue;
        TimerEditor shown(m_type);
        shown.fromRow(table.progdata[size_t(n)]);
        showRow(n, shown);
    }
    applyEditingButtons();
    // The editor takes the last program whole, so Fix of its row gives it
    // back unchanged and its date is where the next program starts from.
    if (const int k = table.highestFixed()) {
        editor.fromRow(table.progdata[size_t(k)]);
        showEditor();
    }
    return left;
}

// ---- the run ----

void frmRxTimer::tmrCurrenTime_Timer()
{
    const QDateTime now = Clock::now();
    rxtimerlt = clockText19(now);
    rxtimerutc = clockText19(utcFromLocal(now, setting(Setting::UtcOffsetHours)));
    lblLT->setText(rxtimerlt);
    lblUTC->setText(rxtimerutc);
}

void frmRxTimer::timeronoff(int n)
{
    if (n == 0) {
        if (!m_armed)
            return;
        const int answer = msgBox(QStringList{QStringLiteral("You are sure you want to"),
                                              QStringLiteral("interrupt the running Timer")},
                                  MsgIcon::Question, QStringLiteral("Programmed Timer"), MsgButtons::YesNoCancel);
        if (answer == vbYes)
            endRun();
        return;
    }
    if (m_armed || !m_run.begin())
        return;
    msgBox(QStringList{QStringLiteral("Please make sure that your"), QStringLiteral("receiver is switched on ")},
           MsgIcon::Exclamation, QStringLiteral("Start Programmed Timer"));
    if (!table.progfixed[1] || toolate(2))
        return;
    m_armed = true;
    setWindowTitle(kArmedCaption);
    cmdTimerOnoff[0]->show();
    cmdTimerOnoff[1]->hide();
    fraSetRx->setEnabled(false);
    cmdExit->setEnabled(false);
    cmdClrAll->setEnabled(false);
    cmdLoad->setEnabled(false);
    cmdSave->setEnabled(false);
    lineoutonoff(0);
    cmdLineoutOnoff[1]->setEnabled(false);
    for (int k = 1; k <= kPrograms; ++k) {
        rows[size_t(k)].cmdFixClr[0]->setEnabled(false);
        rows[size_t(k)].cmdFixClr[1]->setEnabled(false);
        rows[size_t(k)].shp->clear();
    }
    setBackColor(lblNameUTC, kRunColour);
    setBackColor(lblUTC, kRunColour);
    curprog = 1;
    durticks = 0;
    tmrTestprog.start();
    Receiver::hold(this, true);
}

bool frmRxTimer::testutc2tp() { return rxtimerutc.left(16) >= startText(table.progdata[size_t(curprog)]); }

void frmRxTimer::tmrTestprog_Timer()
{
    if (!m_armed || tmrDuration.isActive() || m_run.endIfLost())
        return;
    marqueephase = 1 - marqueephase;
    QString arrows;
    for (int i = 0; i < 22; ++i)
        arrows += marqueephase == 1 ? QStringLiteral("<=") : QStringLiteral("=>");
    setWindowTitle(marqueephase == 1 ? QStringLiteral("  Timer is ON, be patient  ") + arrows
                                     : QStringLiteral("  ") + arrows + QStringLiteral("  Timer is ON, be patient"));
    if (!testutc2tp())
        return;
    tmrTestprog.stop();
    // The program owns the receiver from its first command: a scan tuning
    // on would undo its settings.
    LineRun::endOthers(&m_run, QStringLiteral("stopped: timer program %1 started").arg(curprog));
    setrx2tptel();
    // A receiver that can be read back is asked once; a silent one is noted
    // in the program's row and the run goes on by the clock.
    const NoAnswer noAnswer;
    if (m_rx && m_rx->model().readsBack && !m_rx->readFrequency()) {
        Row &r = rows[size_t(curprog)];
        r.shp->setText(QStringLiteral("?"));
        setBackColor(r.shp, kRed);
        const QStringList said = noAnswer.text({QStringLiteral("The receiver did not answer at the start of this program.")});
        r.shp->setToolTip(said.isEmpty() ? rxPort().lostText().join(QLatin1Char('\n')) : said.join(QLatin1Char('\n')));
    }
    lineoutonoff(1);
    setRowColour(curprog, kRunColour);
    durticks = 0;
    tmrDuration.start();
}

void frmRxTimer::tmrDuration_Timer()
{
    if (!m_armed || m_run.endIfLost())
        return;
    ++durticks;
    if (durticks < table.progdata[size_t(curprog)][6] * 12)
        return;
    tmrDuration.stop();
    lineoutonoff(0);
    durticks = 0;
    setRowColour(curprog, kIdleRowColour);
    if (curprog < kPrograms && table.progfixed[size_t(curprog + 1)]) {
        ++curprog;
        tmrTestprog.start();
        return;
    }
    progtimerready();
    Receiver::hold(this, false);
}

void frmRxTimer::progtimerready()
{
    m_armed = false;
    setWindowTitle(QStringLiteral("Timer Programming"));
    cmdTimerOnoff[0]->hide();
    cmdTimerOnoff[1]->show();
    durticks = 0;
    fraSetRx->setEnabled(true);
    cmdExit->setEnabled(true);
    cmdLineoutOnoff[1]->setEnabled(true);
    applyEditingButtons();
    setBackColor(lblNameUTC, kIdleClockColour);
    setBackColor(lblUTC, kIdleClockColour);
    for (int n = 1; n <= kPrograms; ++n)
        setRowColour(n, kIdleRowColour);
    tmrTestprog.stop();
}

void frmRxTimer::endRun()
{
    const bool running = tmrDuration.isActive();
    tmrDuration.stop();
    tmrTestprog.stop();
    durticks = 0;
    if (running || m_lineOn)
        lineoutonoff(0);
    progtimerready();
    Receiver::hold(this, false);
}

void frmRxTimer::setrx2tptel()
{
    const ProgRow &p = table.progdata[size_t(curprog)];
    // The frequency and the settings are one sequence on the line.
    const Exchange program;
    hub().Change2FreqA(rowFrequencyKHz(p));
    if (m_rx)
        m_rx->applySetting(RxSetting{p[7], p[8], p[9], p[10], p[11], p[12]}, &showOnOpenPanel);
}

void frmRxTimer::lineoutonoff(int n)
{
    // The model records through its timer relay or, without one, through its
    // line output at the level chosen in the set-up.
    bool taken = true;
    if (m_rx && m_rx->model().timerRelay) {
        taken = m_rx->setTimerRelay(n == 1);
    } else if (m_rx && m_rx->model().lineOutput) {
        const int level = n == 1 ? m_rx->presetLineLevel() : 0;
        // Only a level the receiver took counts (a silent AR7030 takes none:
        // the level shares a byte it must read first), on the panel as here.
        taken = m_rx->setLineOutput(level);
        if (taken)
            showOnOpenPanel(RxChange{RxChange::LineLevel, level, 0, QString()});
    }
    if (!taken)
        return;
    m_lineOn = n == 1;
    showLineButtons();
}

void frmRxTimer::showLineButtons()
{
    cmdLineoutOnoff[1]->setVisible(!m_lineOn);
    cmdLineoutOnoff[0]->setVisible(m_lineOn);
}

} // namespace tav
