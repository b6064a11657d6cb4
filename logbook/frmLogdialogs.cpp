#include "logbook/frmLogdialogs.h"

#include "core/globals.h"
#include "core/textfile.h"
#include "logbook/frmLog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

namespace {

const char *const kFieldCaptions[kLogFields] = {"Date",      "Start Time", "End Time",  "Frequency", "SINPO",
                                                "Language",  "BC org.",    "Tx Loc.",   "// Freq 1", "// Freq 2",
                                                "// Freq 3", "// Freq 4",  "Remarks",   "RX setting", "Auxilary"};

const QString kMaskFile = QStringLiteral("loggridformat.ini");

frmLog *logWindow() { return Windows::loaded(WindowId::frmLog) ? Windows::existing<frmLog>() : nullptr; }

} // namespace

QString readLogColumnMask()
{
    // One line is all the file holds; a file far too large is not read.
    const auto read = readTextFile(resolveNoCase(G.datapath, kMaskFile), filelimits::kLogColumns);
    const QStringList *lines = read ? &read->lines : nullptr;
    if (!lines || lines->isEmpty() || lines->first().isEmpty())
        return allColumnsMask();
    return lines->first();
}

bool writeLogColumnMask(const QString &mask, QString *error)
{
    return writeTextLines(resolveNoCase(G.datapath, kMaskFile), QStringList{mask}, error);
}

// ---- columns ----

frmLogFormat::frmLogFormat() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Log Screen Format"));
    auto *top = new QVBoxLayout(this);
    auto *fraSetformat = makeFrame(QStringLiteral("fraSetformat"), QString(), this);
    auto *grid = new QGridLayout(fraSetformat);
    top->addWidget(fraSetformat);
    for (int i = 0; i < kLogFields; ++i) {
        chkLogformat[i] = new CheckBox(QStringLiteral("chkLogformat(%1)").arg(i), QLatin1String(kFieldCaptions[i]),
                                       fraSetformat);
        grid->addWidget(chkLogformat[i], i % 8, i / 8);
        connect(chkLogformat[i], &CheckBox::clickedValue, this, [this, i](int) { chkLogformat_Click(i); });
    }
    auto *fraFixformat = makeFrame(QStringLiteral("fraFixformat"), QString(), this);
    auto *row = new QHBoxLayout(fraFixformat);
    top->addWidget(fraFixformat);
    lblFormatlength = makeLabel(QStringLiteral("lblFormatlength"), QStringLiteral("Format Length"), fraFixformat);
    lblLoglength = makeLabel(QStringLiteral("lblLoglength"), QStringLiteral("199"), fraFixformat);
    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), fraFixformat);
    cmdSave = makeButton(QStringLiteral("cmdSave"), QStringLiteral("Save"), fraFixformat);
    row->addWidget(lblFormatlength);
    row->addWidget(lblLoglength);
    row->addWidget(cmdOK);
    row->addWidget(cmdSave);
    connect(cmdOK, &QPushButton::clicked, this, &frmLogFormat::cmdOK_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmLogFormat::cmdSave_Click);
}

void frmLogFormat::Form_Load()
{
    const QString mask = logStore().colmask;
    for (int i = 0; i < kLogFields; ++i) {
        const bool on = i < mask.size() && mask[i] == QLatin1Char('1');
        chkLogformat[i]->setValue(on ? 1 : 0);
    }
    lblLoglength->setText(logLengthLabel(logStore().colmask));
}

void frmLogFormat::chkLogformat_Click(int index)
{
    QString &mask = logStore().colmask;
    if (mask.size() < kLogFields)
        mask = mask.leftJustified(kLogFields, QLatin1Char('0'));
    mask[index] = chkLogformat[index]->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    lblLoglength->setText(logLengthLabel(mask));
}

void frmLogFormat::cmdOK_Click()
{
    unload();
    if (frmLog *log = logWindow()) {
        log->Loggridformat();
        log->log2grid();
    }
}

void frmLogFormat::cmdSave_Click()
{
    QString error;
    if (!writeLogColumnMask(logStore().colmask, &error))
        msgBox(QStringList{QStringLiteral("Something went wrong while"), QStringLiteral("saving your data to a file ! ! !"),
                           error},
               MsgIcon::Exclamation, QStringLiteral("Error"));
}

// ---- sort ----

frmLogsort::frmLogsort() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Select Sort order"));
    auto *top = new QVBoxLayout(this);
    auto *fraSort = makeFrame(QStringLiteral("fraSort"), QString(), this);
    auto *col = new QVBoxLayout(fraSort);
    top->addWidget(fraSort);
    optSort = new OptionGroup(this);
    const char *captions[] = {"Date", "Time", "Frequency", "Organisation", "Language"};
    for (int i = 0; i < 5; ++i)
        col->addWidget(optSort->add(i, QStringLiteral("optSort"), QLatin1String(captions[i]), fraSort));
    connect(optSort, &OptionGroup::clicked, this, [](int i) { logStore().sortkey = i; });
    auto *fraOk = makeFrame(QStringLiteral("fraOk"), QString(), this);
    auto *row = new QHBoxLayout(fraOk);
    top->addWidget(fraOk);
    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), fraOk);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), fraOk);
    row->addWidget(cmdOK);
    row->addWidget(cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &frmLogsort::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogsort::cmdCancel_Click);
}

void frmLogsort::Form_Load()
{
    optSort->select(0);
    logStore().sortkey = 0;
}

void frmLogsort::cmdOK_Click()
{
    unload();
    {
        HourglassGuard busy;
        logSort(logStore().records, logStore().sortkey);
    }
    if (frmLog *log = logWindow())
        log->log2grid();
}

void frmLogsort::cmdCancel_Click() { unload(); }

} // namespace tav
