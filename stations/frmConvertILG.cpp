#include "stations/frmConvertILG.h"

#include "core/numtext.h"
#include "core/textfile.h"
#include "stations/conversion.h"
#include "stations/convertwindow.h"
#include "stations/stationstate.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QGridLayout>
#include <QVBoxLayout>

namespace tav {

frmConvertILG::frmConvertILG() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("www.ilgradio.com"));
    auto *top = new QVBoxLayout(this);
    auto *fraTitle = makeFrame(QStringLiteral("fraTitle"), QString(), this);
    auto *tl = new QVBoxLayout(fraTitle);
    lblTitle = makeLabel(QStringLiteral("lblTitle"), QStringLiteral("ILGRadio Database Conversion"), fraTitle);
    tl->addWidget(lblTitle);
    top->addWidget(fraTitle);

    auto *row = new QGridLayout;
    top->addLayout(row);
    fraLocate = makeFrame(QStringLiteral("fraLocate"), QString(), this);
    auto *ll = new QVBoxLayout(fraLocate);
    cmdLocate = makeButton(QStringLiteral("cmdLocate"), QStringLiteral("Locate ILG *.dbf files"), fraLocate);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit conversion"), fraLocate);
    ll->addWidget(cmdLocate);
    ll->addWidget(cmdExit);
    row->addWidget(fraLocate, 0, 0);

    fraConnect = makeFrame(QStringLiteral("fraConnect"), QString(), this);
    auto *cl = new QVBoxLayout(fraConnect);
    optDbconnect = new OptionGroup(this);
    cl->addWidget(optDbconnect->add(0, QStringLiteral("optDbconnect"), QStringLiteral("No db connected"), fraConnect));
    cl->addWidget(optDbconnect->add(1, QStringLiteral("optDbconnect"), QStringLiteral("Connect to ILG MW db"), fraConnect));
    cl->addWidget(optDbconnect->add(2, QStringLiteral("optDbconnect"), QStringLiteral("Connect to ILG SW db"), fraConnect));
    row->addWidget(fraConnect, 0, 1);

    fraInclude = makeFrame(QStringLiteral("fraInclude"), QString(), this);
    auto *il = new QVBoxLayout(fraInclude);
    const char *inc[] = {"Include Estimated (E)", "Include Inactive    (I)", "Include Not Conf. (N)",
                         "Include Planned   (P) "};
    for (int i = 0; i < 4; ++i) {
        chkInclude[i] = new CheckBox(QStringLiteral("chkInclude(%1)").arg(i), QLatin1String(inc[i]), fraInclude);
        il->addWidget(chkInclude[i]);
    }
    row->addWidget(fraInclude, 1, 0);

    fraConvert = makeFrame(QStringLiteral("fraConvert"), QString(), this);
    auto *vl = new QGridLayout(fraConvert);
    cmdConvert = makeButton(QStringLiteral("cmdConvert"), QStringLiteral("Convert"), fraConvert);
    cmdStop = makeButton(QStringLiteral("cmdStop"), QStringLiteral("Stop"), fraConvert);
    lblConvert = makeLabel(QStringLiteral("lblConvert"), QStringLiteral("Converted records :"), fraConvert);
    lblRecnum = makeLabel(QStringLiteral("lblRecnum"), QString(), fraConvert);
    lblRecnum->setMinimumWidth(60);
    vl->addWidget(cmdConvert, 0, 0);
    vl->addWidget(cmdStop, 0, 1);
    vl->addWidget(lblConvert, 1, 0);
    vl->addWidget(lblRecnum, 1, 1);
    row->addWidget(fraConvert, 1, 1);

    fraRecord = makeFrame(QStringLiteral("fraRecord"), QString(), this);
    auto *rl = new QVBoxLayout(fraRecord);
    lblRecord = makeLabel(QStringLiteral("lblRecord"), QString(), fraRecord);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    lblRecord->setFont(mono);
    lblRecord->setTextFormat(Qt::PlainText);
    lblRecord->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(78, QLatin1Char('W'))));
    rl->addWidget(lblRecord);
    top->addWidget(fraRecord);

    connect(cmdLocate, &QPushButton::clicked, this, &frmConvertILG::cmdLocate_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmConvertILG::cmdExit_Click);
    connect(cmdConvert, &QPushButton::clicked, this, &frmConvertILG::cmdConvert_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmConvertILG::cmdStop_Click);
    connect(optDbconnect, &OptionGroup::clicked, this, &frmConvertILG::optDbconnect_Click);
}

void frmConvertILG::Form_Load()
{
    stationState().dbfcaller = 1;
    m_stop = false;
    for (CheckBox *c : chkInclude)
        c->setChecked(false);
    if (optDbconnect->selected() == 0)
        optDbconnect_Click(0);
    else
        optDbconnect->select(0);
    fraConnect->setEnabled(false);
    cmdConvert->setEnabled(false);
}

void frmConvertILG::Form_Unload() { m_table.close(); }

void frmConvertILG::closeEvent(QCloseEvent *ev)
{
    // The close box during a conversion stops it; the window then closes
    // itself as after every conversion.
    if (!stopInsteadOfClose(ev, m_converting, m_stop))
        TavForm::closeEvent(ev);
}

void frmConvertILG::databaseLocated(const QString &fileName)
{
    fraConnect->setEnabled(true);
    const QString lower = fileName.toLower();
    if (lower == QLatin1String("ilgadata.dbf"))
        optDbconnect->select(1);
    else if (lower == QLatin1String("ilgsdata.dbf"))
        optDbconnect->select(2);
}

void frmConvertILG::cmdLocate_Click() { locateConversionSource(optDbconnect); }

void frmConvertILG::optDbconnect_Click(int index)
{
    m_table.close();
    if (index == 0) {
        lblRecnum->clear();
        m_recordSource.clear();
        cmdConvert->setEnabled(false);
        lblRecord->clear();
        return;
    }
    const QString source = index == 1 ? QStringLiteral("ILGADATA") : QStringLiteral("ILGSDATA");
    // The file picked for this table is the one read, whatever other case of
    // its name the folder also holds.
    const QString picked = G.filenames[FileKind::SourceDb];
    const QString table =
        picked.compare(source + QStringLiteral(".dbf"), Qt::CaseInsensitive) == 0 ? picked : source;
    if (!m_table.open(G.filedirs[FileKind::SourceDb], table) || m_table.recordCount() == 0) {
        m_table.close();
        QStringList msg{QStringLiteral("Could not connect to database")};
        if (!m_table.damage().isEmpty())
            msg << m_table.damage();
        else
            msg << QStringLiteral("Check path and/or filename");
        msgBox(msg, MsgIcon::Critical, QStringLiteral("Error"));
        optDbconnect->select(0);
        return;
    }
    m_recordSource = source;
    cmdConvert->setEnabled(true);
    lblRecord->setText(index == 1 ? QStringLiteral("ILGRadio LW/MW database connected, conversion can be started.")
                                  : QStringLiteral("ILGRadio SW database connected, conversion can be started."));
}

void frmConvertILG::setBusy(bool busy)
{
    for (QWidget *w : std::initializer_list<QWidget *>{cmdExit, fraConnect, fraInclude, cmdConvert, cmdLocate})
        w->setEnabled(!busy);
    cmdStop->setEnabled(true);
}

void frmConvertILG::cmdConvert_Click()
{
    if (m_converting || !m_table.isOpen())
        return;
    Busy busy(this);
    setBusy(true);
    m_stop = false;
    m_converting = true;
    const QString dir = stationDirectory(true);
    const QString out = resolveNoCase(dir, m_recordSource + QStringLiteral(".ftl"));
    const ConversionHooks hooks = conversionWindowHooks(lblRecnum, lblRecord, m_stop);
    std::array<bool, 4> include{};
    for (int i = 0; i < 4; ++i)
        include[i] = chkInclude[i]->isChecked();
    const ConversionResult r = convertIlg(m_table, include, out, hooks);
    m_converting = false;
    if (!r.ok) {
        reportConversionWriteFailure(out, r.error);
        setBusy(false);
        return;
    }
    showConversionCount(lblRecnum, lblRecord, r.count);
    QStringList msg{QStringLiteral("Conversion ready")};
    if (r.noFrequency > 0)
        msg << counted(r.noFrequency, "record") + QStringLiteral(" without a usable frequency ") +
                   (r.noFrequency == 1 ? QStringLiteral("was") : QStringLiteral("were")) + QStringLiteral(" left out.");
    if (r.unordered)
        msg << QStringLiteral("The table is not in ascending frequency order;")
            << QStringLiteral("queries and tracking expect the file ordered by frequency.");
    msgBox(msg, MsgIcon::Information, QStringLiteral("ILGRadio database"));
    unload();
}

} // namespace tav
