#include "logbook/frmLoginput.h"

#include "core/clock.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/ui.h"
#include "logbook/frmLog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

namespace {

const char *const kCaptions[kLogFields] = {"Date (yyyymmdd)", "Start UTC (hhmm)", "End UTC (hhmm)", "Frequency (kHz)",
                                           "SINPO (#####)",   "Language (%%%)",   "Organisation",   "TX Location",
                                           "// Frequency 1",  "// Frequency 2",   "// Frequency 3", "// Frequency 4",
                                           "Remarks",         "RX setting",       "Auxilary"};

QString labelName(int i)
{
    if (i <= 11)
        return QStringLiteral("lblLoginput(%1)").arg(i);
    if (i == 12)
        return QStringLiteral("lbl_in(12)");
    return QStringLiteral("lbl_in(%1)").arg(i - 13);
}

frmLog *logWindow()
{
    return Windows::loaded(WindowId::frmLog) ? Windows::existing<frmLog>() : nullptr;
}

} // namespace

frmLoginput::frmLoginput() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Log input"));
    auto *top = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    top->addLayout(grid);
    for (int i = 0; i < kLogFields; ++i) {
        labels[i] = makeLabel(labelName(i), QLatin1String(kCaptions[i]), this);
        auto *t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("txtLoginput(%1)").arg(i));
        t->setMaxLength(kLogFieldWidth[size_t(i)]);
        keepLatin1(t, QStringLiteral("The field ") + QLatin1String(kCaptions[i]).trimmed());
        // Room for a whole field, so a long remark is seen as it is typed.
        t->setMinimumWidth(t->fontMetrics().horizontalAdvance(QString(kLogFieldWidth[size_t(i)], QLatin1Char('0'))) +
                           4 * t->fontMetrics().averageCharWidth());
        txtLoginput[i] = t;
        grid->addWidget(labels[i], i, 0);
        grid->addWidget(t, i, 1);
    }
    auto *row = new QHBoxLayout;
    top->addLayout(row);
    cmdOk = makeButton(QStringLiteral("cmdOk"), QStringLiteral("OK"), this);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), this);
    cmdGetcurrentsetting = makeButton(QStringLiteral("cmdGetcurrentsetting"), QStringLiteral("Get Current Setting"), this);
    row->addWidget(cmdOk);
    row->addWidget(cmdCancel);
    row->addWidget(cmdGetcurrentsetting);
    connect(cmdOk, &QPushButton::clicked, this, &frmLoginput::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLoginput::cmdCancel_Click);
    connect(cmdGetcurrentsetting, &QPushButton::clicked, this, &frmLoginput::cmdGetcurrentsetting_Click);
}

void frmLoginput::Form_Load() {}

void frmLoginput::Form_Unload()
{
    // Closing by any way but OK gives the record up, as Cancel does: an added
    // record only takes its index on OK, so nothing is left reserved.
    clearBoxes();
    if (frmLog *log = logWindow())
        log->entryDialogOpen(false);
}

void frmLoginput::clearBoxes()
{
    for (QLineEdit *t : txtLoginput)
        t->clear();
}

void frmLoginput::beginAdd()
{
    m_add = true;
    m_target = int(logStore().records.size());
    setWindowTitle(QStringLiteral("Input Record ") + logRecordNumber(m_target));
    clearBoxes();
    if (frmLog *log = logWindow())
        log->entryDialogOpen(true);
}

bool frmLoginput::holdsTyping() const
{
    if (!isLoadedForm())
        return false;
    const LogStore &s = logStore();
    const bool changing = !m_add && m_target >= 0 && m_target < s.records.size();
    for (int i = 0; i < kLogFields; ++i) {
        QString stored = changing ? s.records.field(m_target, i) : QString();
        while (stored.endsWith(QLatin1Char(' ')))
            stored.chop(1);
        if (txtLoginput[i]->text() != stored)
            return true;
    }
    return false;
}

void frmLoginput::beginChange(int index)
{
    m_add = false;
    m_target = index;
    setWindowTitle(QStringLiteral("Change record ") + logRecordNumber(index));
    const LogRecord &r = logStore().records[index];
    for (int i = 0; i < kLogFields; ++i) {
        QString t = r[size_t(i)];
        while (t.endsWith(QLatin1Char(' ')))
            t.chop(1);
        txtLoginput[i]->setText(t);
    }
    if (frmLog *log = logWindow())
        log->entryDialogOpen(true);
}

bool frmLoginput::takeStationLine(const QString &line)
{
    if (!Windows::loaded(WindowId::frmLoginput))
        return false;
    txtLoginput[LogLanguage]->setText(line.mid(51, 3));
    txtLoginput[LogStation]->setText(line.mid(19, 20));
    txtLoginput[LogLocation]->setText(line.mid(77, 12));
    return true;
}

void frmLoginput::cmdGetcurrentsetting_Click()
{
    if (!txtLoginput[LogFreq]->text().isEmpty()) {
        const int answer = msgBox(QStringList{QStringLiteral("You are sure you want to replace the"),
                                              QStringLiteral("current record by current Rx setting"), QString()},
                                  MsgIcon::Question, QStringLiteral("Replace"), MsgButtons::YesNoCancel);
        if (answer != vbYes)
            return;
    }
    Busy busy(this);
    cmdGetcurrentsetting->setEnabled(false);
    if (G.utcstamp.isEmpty())
        updateClockTexts();
    txtLoginput[LogDate]->setText(G.utcstamp.left(8));
    txtLoginput[LogStart]->setText(G.utcstamp.right(4));
    Hub &h = hub();
    h.Update4RxFreq();
    if (HubPanel *p = h.openPanel())
        txtLoginput[LogFreq]->setText(p->frequencyText());
    txtLoginput[LogRxSetting]->setText(h.ConvertRx2mfa());
    cmdGetcurrentsetting->setEnabled(true);
}

void frmLoginput::cmdOk_Click()
{
    int filled = 0;
    for (QLineEdit *t : txtLoginput)
        if (!t->text().isEmpty())
            ++filled;
    LogStore &s = logStore();
    if (filled == 0 && m_add) {
        unload();
        return;
    }
    // Text put into a box another way than typing (a receiver's answer) is
    // checked as well: the logbook file is Latin-1.
    for (int i = 0; i < kLogFields; ++i)
        if (!acceptLatin1Entry(txtLoginput[i]->text(), QStringLiteral("The field ") + QLatin1String(kCaptions[i]).trimmed())) {
            txtLoginput[i]->setFocus();
            return;
        }
    const auto freq = logFrequencyText(txtLoginput[LogFreq]->text());
    if (!freq) {
        msgBox(QStringList{QStringLiteral("The frequency does not fit the log record:"),
                           QStringLiteral("it must lie below 100000 kHz.")},
               MsgIcon::Exclamation, QStringLiteral("Input Error"));
        txtLoginput[LogFreq]->setFocus();
        return;
    }
    LogRecord rec;
    for (int i = 0; i < kLogFields; ++i) {
        QString t = txtLoginput[i]->text();
        if (i == LogStart || i == LogEnd)
            t = logTimeText(t);
        else if (i == LogFreq)
            t = *freq;
        rec[size_t(i)] = t.left(kLogFieldWidth[size_t(i)]);
    }
    if (m_add) {
        if (s.records.size() >= LogStore::capacity()) {
            msgBox(QStringLiteral("The logbook is full."), MsgIcon::Exclamation, QStringLiteral("Logging"));
            return;
        }
        s.records.push_back(rec);
    } else if (m_target >= 0 && m_target < s.records.size()) {
        s.records[m_target] = rec;
    }
    clearBoxes();
    unload();
    if (frmLog *log = logWindow())
        log->log2grid();
}

void frmLoginput::cmdCancel_Click() { unload(); }

} // namespace tav
