#include "stations/frmILGfinddbf.h"

#include "core/textfile.h"
#include "core/ui.h"
#include "stations/convertwindow.h"
#include "stations/frmConvertAero.h"
#include "stations/frmConvertILG.h"
#include "stations/stationstate.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>

namespace tav {

frmILGfinddbf::frmILGfinddbf() : TavForm(windowId)
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
        const QString path = it->data(Qt::UserRole).toString();
        if (!path.isEmpty())
            dirILG_Change(path);
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
    // As a directory list box shows it: the way down from the root to the
    // current directory (so the user sees where the list is), then the
    // directories in it, each indented one step deeper than its parent.
    dirILG->clear();
    QStringList chain;
    for (QDir d(m_path);; d.cdUp()) {
        chain.prepend(d.absolutePath());
        if (d.isRoot())
            break;
    }
    auto add = [this](const QString &path, const QString &name, int depth) {
        auto *it = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, dirILG);
        it->setData(Qt::UserRole, path);
        return it;
    };
    for (int i = 0; i < chain.size(); ++i) {
        const QString name = i == 0 ? chain[i] : QFileInfo(chain[i]).fileName();
        QListWidgetItem *it = add(chain[i], name, i);
        if (i == chain.size() - 1)
            dirILG->setCurrentItem(it);
    }
    QDir d(m_path);
    for (const QString &sub : d.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(d.absoluteFilePath(sub), sub, int(chain.size()));
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
    QListWidgetItem *it = flbILG->currentItem();
    QStringList listed;
    for (int i = 0; i < flbILG->count(); ++i)
        listed << flbILG->item(i)->text();
    // Without a file the conversion could connect to nothing.
    const std::optional<QString> picked = pickedSourceFile(listed, it && it->isSelected() ? it->text() : QString());
    if (!picked) {
        msgBox(QStringList{QStringLiteral("More than one file fits in this folder:"),
                           QStringLiteral("click the file to convert, then OK")},
               MsgIcon::Exclamation, windowTitle());
        return;
    }
    G.filedirs[FileKind::SourceDb] = m_path;
    G.filenames[FileKind::SourceDb] = *picked;
    const QString chosen = *picked;
    const int caller = stationState().dbfcaller;
    unload();
    if (caller == 1) {
        if (auto *c = Windows::existing<frmConvertILG>())
            c->databaseLocated(chosen);
    } else if (caller == 2) {
        if (auto *c = Windows::existing<frmConvertAero>())
            c->databaseLocated(chosen);
    }
}

void frmILGfinddbf::cmdCancel_Click() { unload(); }

} // namespace tav
