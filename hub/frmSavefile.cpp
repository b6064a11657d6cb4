#include "hub/frmSavefile.h"

#include "core/filekinds.h"
#include "core/textfile.h"
#include "core/ui.h"
#include "drivers/receiver.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tav {

namespace {

void showSaveError(const QString &title, const QStringList &why = {})
{
    msgBox(QStringList{QStringLiteral("Something went wrong while"), QStringLiteral("saving your data to a file ! ! !"),
                       QStringLiteral("PLEASE TRY AGAIN")} +
               why,
           MsgIcon::Exclamation, title);
}

// The prefix a kind's saved names begin with: a memory file's includes the
// digit of the receiver whose panel is open.
QString savePrefix(FileKind kind)
{
    if (kind == FileKind::Memories)
        return G.fileprefix[FileKind::Memories] + QString::number(goModel().rxtype);
    return G.fileprefix[kind];
}

} // namespace

frmSavefile::frmSavefile() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Select Save Filename"));
    auto *lay = new QVBoxLayout(this);
    cmbSavefile = makeEntryCombo(QStringLiteral("cmbSavefile"), this);
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
    lblFolder = makeNoteLabel(QStringLiteral("lblFolder"), this);
    lblPattern = makeNoteLabel(QStringLiteral("lblPattern"), this);
    lay->insertWidget(0, lblFolder);
    lay->insertWidget(1, lblPattern);
    lay->addLayout(row);
    // Return in the name box is OK, as in every desktop dialog.
    connect(cmbSavefile->lineEdit(), &QLineEdit::returnPressed, cmdOK, &QPushButton::click);
    connect(cmdOK, &QPushButton::clicked, this, &frmSavefile::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSavefile::cmdCancel_Click);
}

void frmSavefile::showFor(FileKind kind)
{
    if (auto *dlg = Windows::get<frmSavefile>()) {
        dlg->setKind(kind);
        dlg->showModal();
    }
}

QString frmSavefile::offeredName(FileKind kind)
{
    QString name = G.filedefault[kind];
    if (kind == FileKind::Memories && name.size() >= 5)
        name[4] = QChar(u'0' + goModel().rxtype);
    return name;
}

void frmSavefile::Form_Load()
{
    const FileKind k = m_kind;
    if (std::size_t(k) >= kFileKindCount) {
        unload();
        return;
    }
    cmbSavefile->clear();
    QStringList names;
    for (const QString &n : QDir(G.filedirs[k]).entryList(QDir::Files))
        names << n.toLower();
    cmbSavefile->addItems(names);
    cmbSavefile->setCurrentIndex(-1);
    cmbSavefile->setEditText(offeredName(k));
    lblFolder->setText(QStringLiteral("Saved in ") + QDir::toNativeSeparators(G.filedirs[k]));
    lblPattern->setText(!G.fileprefix[k].isEmpty()
                            ? QStringLiteral("Names: ") + namePattern(k) + QStringLiteral(", for example ") + goodName(k)
                            : QString());
    // Typing at once replaces the proposed name, whatever had the focus when
    // the dialog last closed (OK, clicked, would take Return and save under
    // the proposed name).
    cmbSavefile->setFocus();
    cmbSavefile->lineEdit()->selectAll();
}

QString frmSavefile::namePattern(FileKind kind)
{
    return savePrefix(kind) + QStringLiteral("*.TXT");
}

QString frmSavefile::goodName(FileKind kind)
{
    return savePrefix(kind) + QStringLiteral("evening.TXT");
}

QString frmSavefile::refusal(const QString &name, FileKind kind)
{
    if (G.fileprefix[kind].isEmpty())
        return QStringLiteral("Files of this kind are not saved here.");
    if (name.isEmpty())
        return QStringLiteral("No name was given.");
    // A NUL would end the name the system sees (and the file would lose its
    // ".TXT"); line ends and tabs make names no list shows as typed.
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("A name cannot hold control characters (such as a tab or a line end).");
    // A name is a name within the kind's directory, never a path elsewhere.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QStringLiteral("A name cannot hold a folder.");
    const QString prefix = savePrefix(kind);
    if (name.left(prefix.size()).toUpper() != prefix.toUpper())
        return QStringLiteral("The name must begin with ") + prefix + QLatin1Char('.');
    if (name.right(4).toUpper() != QLatin1String(".TXT"))
        return QStringLiteral("The name must end in .TXT.");
    if (name.lastIndexOf(QLatin1Char('.')) + 1 > 37)
        return QStringLiteral("The name is too long: at most 40 characters.");
    return QString();
}

bool frmSavefile::acceptableName(const QString &name, FileKind kind) { return refusal(name, kind).isEmpty(); }

void frmSavefile::cmdOK_Click()
{
    if (!isLoadedForm())
        return; // a second Return after the dialog closed
    const FileKind k = m_kind;
    const QString name = cmbSavefile->currentText();
    const QString previous = G.filenames[k];

    if (const QString why = refusal(name, k); !why.isEmpty()) {
        showSaveError(QStringLiteral("Error 2"),
                      {QString(), why,
                       QStringLiteral("Names of this kind fit ") + namePattern(k) + QStringLiteral(", for example ") +
                           goodName(k) + QLatin1Char('.')});
        unload();
        return;
    }
    G.filenames[k] = name;

    if (k == FileKind::Rtty) {
        QFile &capture = rttyCaptureFile();
        if (capture.isOpen())
            capture.close();
        const QString dir = G.filedirs[FileKind::Rtty];
        G.filenames[FileKind::Rtty] = findFileNoCase(dir, name).value_or(name);
        capture.setFileName(dir + G.filenames[FileKind::Rtty]);
        if (!ensureDir(dir) || !capture.open(QIODevice::WriteOnly | QIODevice::Append)) {
            const QString why = capture.errorString();
            G.filenames[FileKind::Rtty] = previous;
            msgBox(QStringList{QStringLiteral("The file"), capture.fileName(), QStringLiteral("could not be opened:"), why},
                   MsgIcon::Exclamation, QStringLiteral("Error"));
            unload();
            return;
        }
        showRttyCaptureFile(G.filenames[FileKind::Rtty]);
        unload();
        return;
    }

    if (!checkoverwrite(k, true)) {
        // The listener's own No (already told "File save action aborted")
        // is no error to report.
        G.filenames[k] = previous;
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
    if (k != FileKind::Propagation)
        msgBox(QStringList{QStringLiteral("The data is now saved"), QStringLiteral("to the file ") + saved},
               MsgIcon::Exclamation, QStringLiteral("Save File"));
}

void frmSavefile::cmdCancel_Click() { unload(); }

} // namespace tav
