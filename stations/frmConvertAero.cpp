#include "stations/frmConvertAero.h"

#include "core/textfile.h"
#include "stations/conversion.h"
#include "stations/convertwindow.h"
#include "stations/stationstate.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QVBoxLayout>

namespace tav {

frmConvertAero::frmConvertAero() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("www.aerolist.info"));
    auto *top = new QVBoxLayout(this);
    auto *fraTitle = makeFrame(QStringLiteral("fraTitle"), QString(), this);
    auto *tl = new QVBoxLayout(fraTitle);
    lblTitle = makeLabel(QStringLiteral("lblTitle"), QStringLiteral("Aero Database Conversion"), fraTitle);
    tl->addWidget(lblTitle);
    top->addWidget(fraTitle);

    auto *row = new QGridLayout;
    top->addLayout(row);
    fraLocate = makeFrame(QStringLiteral("fraLocate"), QString(), this);
    auto *ll = new QVBoxLayout(fraLocate);
    cmdLocate = makeButton(QStringLiteral("cmdLocate"), QStringLiteral("Locate aero *.txt file"), fraLocate);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit conversion"), fraLocate);
    ll->addWidget(cmdLocate);
    ll->addWidget(cmdExit);
    row->addWidget(fraLocate, 0, 0);

    fraConnect = makeFrame(QStringLiteral("fraConnect"), QString(), this);
    auto *cl = new QVBoxLayout(fraConnect);
    optDbconnect = new OptionGroup(this);
    cl->addWidget(optDbconnect->add(0, QStringLiteral("optDbconnect"), QStringLiteral("No db connected"), fraConnect));
    cl->addWidget(optDbconnect->add(1, QStringLiteral("optDbconnect"), QStringLiteral("Connect to Aero db"), fraConnect));
    row->addWidget(fraConnect, 0, 1);

    fraCount = makeFrame(QStringLiteral("fraCount"), QString(), this);
    auto *kl = new QVBoxLayout(fraCount);
    optDbtype = new OptionGroup(this);
    kl->addWidget(optDbtype->add(0, QStringLiteral("optDbtype"), QStringLiteral("Include full details"), fraCount));
    kl->addWidget(optDbtype->add(1, QStringLiteral("optDbtype"), QStringLiteral("Network data only"), fraCount));
    row->addWidget(fraCount, 1, 0);

    fraConvert = makeFrame(QStringLiteral("fraConvert"), QString(), this);
    auto *vl = new QGridLayout(fraConvert);
    cmdConvert = makeButton(QStringLiteral("cmdConvert"), QStringLiteral("Convert"), fraConvert);
    cmdStop = makeButton(QStringLiteral("cmdStop"), QStringLiteral("Stop"), fraConvert);
    lblreccounr = makeLabel(QStringLiteral("lblreccounr"), QStringLiteral("Converted records :"), fraConvert);
    lblCount = makeLabel(QStringLiteral("lblCount"), QString(), fraConvert);
    lblCount->setMinimumWidth(60);
    vl->addWidget(cmdConvert, 0, 0);
    vl->addWidget(cmdStop, 0, 1);
    vl->addWidget(lblreccounr, 1, 0);
    vl->addWidget(lblCount, 1, 1);
    row->addWidget(fraConvert, 1, 1);

    fraRecord = makeFrame(QStringLiteral("fraRecord"), QString(), this);
    auto *rl = new QVBoxLayout(fraRecord);
    lblShowrecord = makeLabel(QStringLiteral("lblShowrecord"), QString(), fraRecord);
    lblShowrecord->setTextFormat(Qt::PlainText);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    lblShowrecord->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(78, QLatin1Char('W'))));
    rl->addWidget(lblShowrecord);
    top->addWidget(fraRecord);

    connect(cmdLocate, &QPushButton::clicked, this, &frmConvertAero::cmdLocate_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmConvertAero::cmdExit_Click);
    connect(cmdConvert, &QPushButton::clicked, this, &frmConvertAero::cmdConvert_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmConvertAero::cmdStop_Click);
    connect(optDbconnect, &OptionGroup::clicked, this, &frmConvertAero::optDbconnect_Click);
}

void frmConvertAero::Form_Load()
{
    stationState().dbfcaller = 2;
    m_stop = false;
    if (optDbconnect->selected() == 0)
        optDbconnect_Click(0);
    else
        optDbconnect->select(0);
    optDbtype->select(0);
    fraConnect->setEnabled(false);
    cmdConvert->setEnabled(false);
}

void frmConvertAero::closeEvent(QCloseEvent *ev)
{
    if (!stopInsteadOfClose(ev, m_converting, m_stop))
        TavForm::closeEvent(ev);
}

QString frmConvertAero::sourcePath() const
{
    QString dir = G.filedirs[FileKind::SourceDb];
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return resolveNoCase(dir, G.filenames[FileKind::SourceDb]);
}

void frmConvertAero::databaseLocated(const QString &fileName)
{
    fraConnect->setEnabled(true);
    if (fileName.toLower() == QLatin1String("aerolist.txt"))
        optDbconnect->select(1);
}

void frmConvertAero::cmdLocate_Click() { locateConversionSource(optDbconnect); }

void frmConvertAero::optDbconnect_Click(int index)
{
    if (index == 0) {
        cmdConvert->setEnabled(false);
        lblCount->clear();
        lblShowrecord->clear();
        return;
    }
    // The source is tried at once, so a wrong choice shows here and not as
    // an empty conversion.
    QFile f(sourcePath());
    if (G.filenames[FileKind::SourceDb].isEmpty() || !QFileInfo(f).isFile() || !f.open(QIODevice::ReadOnly)) {
        msgBox(QStringList{QStringLiteral("Could not connect to database"), QStringLiteral("Check path and/or filename")},
               MsgIcon::Critical, QStringLiteral("Error"));
        optDbconnect->select(0);
        return;
    }
    cmdConvert->setEnabled(true);
    lblShowrecord->setText(QStringLiteral("Aerolist db connected, conversion can be started"));
}

void frmConvertAero::setBusy(bool busy)
{
    for (QWidget *w : std::initializer_list<QWidget *>{cmdConvert, cmdLocate, cmdExit, fraConnect, fraCount})
        w->setEnabled(!busy);
    cmdStop->setEnabled(true);
}

void frmConvertAero::cmdConvert_Click()
{
    if (m_converting)
        return;
    Busy busy(this);
    setBusy(true);
    // A Stop pressed while no conversion ran must not end this one at once.
    m_stop = false;
    m_converting = true;
    const bool networkOnly = optDbtype->selected() == 1;
    const QString out = resolveNoCase(stationDirectory(true),
                                      networkOnly ? QStringLiteral("aero2.ftl") : QStringLiteral("aero.ftl"));
    const ConversionHooks hooks = conversionWindowHooks(lblCount, lblShowrecord, m_stop);
    const ConversionResult r = convertAero(sourcePath(), networkOnly, out, hooks);
    m_converting = false;
    if (!r.ok) {
        reportConversionWriteFailure(out, r.error);
        setBusy(false);
        return;
    }
    showConversionCount(lblCount, lblShowrecord, r.count);
    QStringList msg{QStringLiteral("Conversion ready")};
    if (r.sourceLinesLeftOut >= 0)
        msg << QStringLiteral("The aero list has more lines than can be converted; only its first %1 were read.")
                   .arg(r.sourceLinesLeftOut);
    msgBox(msg, MsgIcon::Information, QStringLiteral("Aerolist database"));
    unload();
}

} // namespace tav
