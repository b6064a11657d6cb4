#include "core/frmSavefile.h"

#include "core/filekinds.h"
#include "core/textfile.h"
#include "core/ui.h"
#include "panels/jrc/frmRtty.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tav {

namespace {

void showSaveError(const QString &title)
{
    msgBox(QStringList{QStringLiteral("Something went wrong while"), QStringLiteral("saving your data to a file ! ! !"),
                       QStringLiteral("PLEASE TRY AGAIN")},
           MsgIcon::Exclamation, title);
}

} // namespace

frmSavefile::frmSavefile() : TavForm(QStringLiteral("frmSavefile"), 26, &ProgramState::savefileloaded)
{
    setWindowTitle(QStringLiteral("Select Save Filename"));
    auto *lay = new QVBoxLayout(this);
    cmbSavefile = new QComboBox(this);
    cmbSavefile->setObjectName(QStringLiteral("cmbSavefile"));
    cmbSavefile->setEditable(true);
    cmbSavefile->setInsertPolicy(QComboBox::NoInsert);
    cmbSavefile->setMinimumWidth(300);
    lay->addWidget(cmbSavefile);
    auto *row = new QHBoxLayout;
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    row->addStretch();
    row->addWidget(cmdOK);
    row->addWidget(cmdCancel);
    lay->addLayout(row);
    connect(cmdOK, &QPushButton::clicked, this, &frmSavefile::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSavefile::cmdCancel_Click);
}

void frmSavefile::Form_Load()
{
    const int k = G.filekind;
    if (k < 0 || k > 15) {
        unload();
        return;
    }
    cmbSavefile->clear();
    // The memory image belongs to the receiver opened at Go.
    if (k == 8 && G.filedefault[8].size() >= 5)
        G.filedefault[8][4] = QChar(u'0' + openPanelRxtype());
    QStringList names;
    for (const QString &n : QDir(G.filedirs[k]).entryList(QDir::Files))
        names << n.toLower();
    cmbSavefile->addItems(names);
    cmbSavefile->setCurrentIndex(-1);
    cmbSavefile->setEditText(G.filedefault[k]);
}

bool frmSavefile::acceptableName(const QString &name, int kind)
{
    if (name.isEmpty() || kind < 0 || kind > 15)
        return false;
    // A name is a name within the kind's directory, never a path elsewhere.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
    if (name.lastIndexOf(QLatin1Char('.')) + 1 > 37)
        return false;
    if (name.left(4).toUpper() != G.fileprefix[kind])
        return false;
    return name.right(4).toUpper() == QLatin1String(".TXT");
}

void frmSavefile::cmdOK_Click()
{
    const int k = G.filekind;
    const QString name = cmbSavefile->currentText();
    const QString previous = G.filenames[k];

    if (!acceptableName(name, k)) {
        showSaveError(QStringLiteral("Error 2"));
        unload();
        return;
    }
    G.filenames[k] = name;

    if (k == 13) {
        QFile &capture = rttyCaptureFile();
        if (capture.isOpen())
            capture.close();
        const QString dir = G.filedirs[13];
        G.filenames[13] = findFileNoCase(dir, name).value_or(name);
        capture.setFileName(dir + G.filenames[13]);
        if (!ensureDir(dir) || !capture.open(QIODevice::WriteOnly | QIODevice::Append)) {
            const QString why = capture.errorString();
            G.filenames[13] = previous;
            msgBox(QStringList{QStringLiteral("The file"), capture.fileName(), QStringLiteral("could not be opened:"), why},
                   MsgIcon::Exclamation, QStringLiteral("Error"));
            unload();
            return;
        }
        if (auto *rtty = Windows::existing<frmRtty>(QStringLiteral("frmRtty")))
            rtty->showCaptureFile(G.filenames[13]);
        unload();
        return;
    }

    if (!checkoverwrite(true)) {
        G.filenames[k] = previous;
        showSaveError(QStringLiteral("Error 1"));
        unload();
        return;
    }
    const FileResult r = runWriter(k);
    if (!r.ok)
        G.filenames[k] = previous;
    if (!r.ok) {
        msgBox(QStringList{QStringLiteral("Something went wrong while"),
                           QStringLiteral("saving your data to a file ! ! !"), r.error},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        unload();
        return;
    }
    const QString saved = G.filenames[k];
    unload();
    if (k != 7)
        msgBox(QStringList{QStringLiteral("The data is now saved"), QStringLiteral("to the file ") + saved},
               MsgIcon::Exclamation, QStringLiteral("Save File"));
}

void frmSavefile::cmdCancel_Click() { unload(); }

} // namespace tav
