#include "stations/frmILGfinddbf.h"

#include "core/textfile.h"
#include "core/ui.h"
#include "stations/frmConvertAero.h"
#include "stations/frmConvertILG.h"
#include "stations/stationstate.h"

#include <QDir>
#include <QGridLayout>

namespace tav {

frmILGfinddbf::frmILGfinddbf() : TavForm(QStringLiteral("frmILGfinddbf"), 7, &ProgramState::ilgfinddbfloaded)
{
    setWindowTitle(QStringLiteral("Find ILG *.dbf"));
    auto *g = new QGridLayout(this);
    drvILG = new QComboBox(this);
    drvILG->setObjectName(QStringLiteral("drvILG"));
    dirILG = new QListWidget(this);
    dirILG->setObjectName(QStringLiteral("dirILG"));
    flbILG = new QListWidget(this);
    flbILG->setObjectName(QStringLiteral("flbILG"));
    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), this);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), this);
    g->addWidget(drvILG, 0, 0);
    g->addWidget(dirILG, 1, 0);
    g->addWidget(flbILG, 0, 1, 2, 1);
    g->addWidget(cmdOK, 2, 0);
    g->addWidget(cmdCancel, 2, 1);
    for (const QFileInfo &d : QDir::drives())
        drvILG->addItem(d.absoluteFilePath());
    connect(drvILG, &QComboBox::activated, this, &frmILGfinddbf::drvILG_Change);
    connect(dirILG, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *it) {
        const QString name = it->text();
        dirILG_Change(QDir::cleanPath(m_path + QLatin1Char('/') + name));
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmILGfinddbf::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmILGfinddbf::cmdCancel_Click);
}

void frmILGfinddbf::Form_Load()
{
    if (stationState().dbfcaller == 2) {
        setWindowTitle(QStringLiteral("Find Aero*.txt"));
        m_pattern = QStringLiteral("aerolist.txt");
    } else {
        setWindowTitle(QStringLiteral("Find ILG*.dbf"));
        m_pattern = QStringLiteral("ilgsdata.dbf;ilgadata.dbf");
    }
    cmdOK->setEnabled(false);
    dirILG_Change(QDir::currentPath());
}

void frmILGfinddbf::drvILG_Change(int index)
{
    if (index >= 0 && index < drvILG->count())
        dirILG_Change(drvILG->itemText(index));
}

void frmILGfinddbf::fillDirs()
{
    dirILG->clear();
    QDir d(m_path);
    if (!d.isRoot())
        dirILG->addItem(QStringLiteral(".."));
    dirILG->addItems(d.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

void frmILGfinddbf::dirILG_Change(const QString &dir)
{
    m_path = QDir(dir).absolutePath();
    fillDirs();
    // The file list's path follows the directory list.
    flbILG->clear();
    QString p = m_path;
    if (!p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    flbILG->addItems(listFilesNoCase(p, m_pattern));
    cmdOK->setEnabled(flbILG->count() > 0);
}

void frmILGfinddbf::cmdOK_Click()
{
    G.filekind = 0;
    G.filedirs[0] = m_path;
    QListWidgetItem *it = flbILG->currentItem();
    G.filenames[0] = it && it->isSelected() ? it->text() : QString();
    const QString lower = G.filenames[0].toLower();
    const int caller = stationState().dbfcaller;
    unload();
    if (caller == 1) {
        if (auto *c = Windows::existing<frmConvertILG>(QStringLiteral("frmConvertILG"))) {
            c->fraConnect->setEnabled(true);
            if (lower == QLatin1String("ilgadata.dbf"))
                c->optDbconnect->select(1);
            else if (lower == QLatin1String("ilgsdata.dbf"))
                c->optDbconnect->select(2);
        }
    } else if (caller == 2) {
        if (auto *c = Windows::existing<frmConvertAero>(QStringLiteral("frmConvertAero"))) {
            c->fraConnect->setEnabled(true);
            if (lower == QLatin1String("aerolist.txt"))
                c->optDbconnect->select(1);
        }
    }
}

void frmILGfinddbf::cmdCancel_Click() { unload(); }

} // namespace tav
