#include "hub/frmLoadfile.h"
#include "drivers/receiver.h"

#include "core/links.h"

#include "hub/hub.h"

#include "core/filekinds.h"
#include "core/launch.h"
#include "core/textfile.h"
#include "core/ui.h"

#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tav {

void frmLoadfile::showFor(FileKind kind, StationDb db)
{
    if (auto *dlg = Windows::get<frmLoadfile>()) {
        dlg->setKind(kind, db);
        dlg->showModal();
    }
}

void frmLoadfile::setKind(FileKind kind, StationDb db)
{
    m_kind = kind;
    m_db = db;
}

QString frmLoadfile::listedPattern(FileKind kind, StationDb db)
{
    QString pattern = G.filepattern[kind];
    // Memory files are kept per receiver type: only those of the receiver
    // opened at Go are listed, whatever the set-up has been switched to since.
    if (kind == FileKind::Memories && pattern.size() >= 5)
        pattern[4] = QChar(u'0' + goModel().rxtype);
    if (kind == FileKind::StationList) {
        if (db == StationDb::Ilg)
            pattern = QStringLiteral("ILG*.FTL");
        else if (db == StationDb::Aero)
            pattern = QStringLiteral("AERO*.FTL");
    }
    return pattern;
}

frmLoadfile::frmLoadfile() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Select file to load"));
    auto *outer = new QVBoxLayout(this);
    lblFolder = makeNoteLabel(QStringLiteral("lblFolder"), this);
    lblPattern = makeNoteLabel(QStringLiteral("lblPattern"), this);
    outer->addWidget(lblFolder);
    outer->addWidget(lblPattern);
    auto *lay = new QHBoxLayout;
    outer->addLayout(lay);
    list = new QListWidget(this);
    list->setObjectName(QStringLiteral("list"));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumSize(260, 220);
    lay->addWidget(list);
    auto *col = new QVBoxLayout;
    auto mk = [&](const char *name, const char *caption) {
        auto *b = new QPushButton(QLatin1String(caption), this);
        b->setObjectName(QLatin1String(name));
        col->addWidget(b);
        return b;
    };
    cmdOK = mk("cmdOK", "OK");
    cmdCancel = mk("cmdCancel", "Cancel");
    col->addStretch();
    cmdDelete = mk("cmdDelete", "Delete");
    cmdEdit = mk("cmdEdit", "Edit");
    lay->addLayout(col);
    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmLoadfile::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLoadfile::cmdCancel_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmLoadfile::cmdDelete_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmLoadfile::cmdEdit_Click);
    connect(list, &QListWidget::currentRowChanged, this, &frmLoadfile::list_Click);
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { list_DblClick(list->row(item)); });
    // Return is OK, as in every desktop dialog, wherever the focus is; only
    // another button that has the focus is pressed instead.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), this, nullptr, nullptr, Qt::WindowShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            auto *focused = qobject_cast<QPushButton *>(focusWidget());
            (focused && focused->isEnabled() ? focused : cmdOK)->click();
        });
    }
}

void frmLoadfile::Form_Load()
{
    const FileKind k = m_kind;
    if (std::size_t(k) >= kFileKindCount) {
        unload();
        return;
    }
    lblFolder->setText(QStringLiteral("Files in ") + QDir::toNativeSeparators(G.filedirs[k]));
    lblPattern->setText(QStringLiteral("Names: ") + listedPattern(k, m_db)
                                                        .split(QLatin1Char(';'), Qt::SkipEmptyParts)
                                                        .join(QStringLiteral(", ")));
    fillList();
    // The one dialog serves every tool and keeps its focus between openings:
    // left on the Cancel or Edit button a click of the last opening gave it,
    // Return would press that button instead of OK.
    list->setFocus();
}

void frmLoadfile::fillList()
{
    const FileKind k = m_kind;
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(listFilesNoCase(G.filedirs[k], listedPattern(k, m_db)));
    if (list->count() > 0) {
        list->setCurrentRow(0);
        list_Click(0);
    }
}

QString frmLoadfile::selectedName() const
{
    const QListWidgetItem *item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void frmLoadfile::list_Click(int row)
{
    if (row < 0 || row >= list->count())
        return;
    G.filenames[m_kind] = list->item(row)->text();
}

void frmLoadfile::list_DblClick(int row)
{
    if (row < 0 || row >= list->count())
        return;
    list->setCurrentRow(row);
    list_Click(row);
    cmdOK_Click();
}

void frmLoadfile::cmdOK_Click()
{
    const FileKind k = m_kind;
    {
        HourglassGuard busy;
        // Only a panel opened at Go has a driver to read; the hub knows which.
        if (hubExists() && !goModel().isNone())
            hub().Update4RxFreq();
        switch (goModel().loadStopsDial) {
        case RxModel::LoadStopsDial::PanelTracking:
            if (TrackingLink *t = links::tracking())
                t->endDialFollowing();
            G.dialtrack = false;
            break;
        case RxModel::LoadStopsDial::TrackingWindow:
            if (TrackingLink *t = links::tracking())
                t->disableDialFollowing();
            break;
        case RxModel::LoadStopsDial::None: break;
        }
    }
    // Only a file the list shows and the user has chosen is read: a name an
    // earlier load or save left (another receiver's memory file) is not.
    const QString name = selectedName();
    if (!name.isEmpty()) {
        G.filenames[k] = name;
        bool read = true;
        if (k == FileKind::Memories)
            read = msgBox(QStringList{QStringLiteral("Are sure you want to load the file"),
                                      name + QStringLiteral(" in the MemMan Window"),
                                      QStringLiteral("and overwrite possible current data")},
                          MsgIcon::Question, QStringLiteral("Load Memory File"), MsgButtons::YesNoCancel) == vbYes;
        if (read) {
            HourglassGuard busy;
            runReader(k, m_db);
        }
    }
    unload();
}

void frmLoadfile::cmdCancel_Click() { unload(); }

void frmLoadfile::cmdDelete_Click()
{
    const FileKind k = m_kind;
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    G.filenames[k] = name;
    const int answer = msgBox(QStringList{QStringLiteral("         Are you really sure you"),
                                          QStringLiteral("         want to delete the file"),
                                          QStringLiteral("         ") + name + QStringLiteral("  ? ? ?")},
                              MsgIcon::Question, QStringLiteral("Delete file"), MsgButtons::YesNoCancel);
    if (answer != vbYes)
        return;
    const QString path = currentFilePath(k);
    if (QFileInfo::exists(path) && !QFile::remove(path)) {
        msgBox(QStringList{QStringLiteral("The file"), path, QStringLiteral("could not be deleted.")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    // A deleted file is nobody's current file; the list shows what is left and
    // the user picks again.
    G.filenames[k].clear();
    fillList();
    const QSignalBlocker block(list);
    list->setCurrentRow(-1);
    list->clearSelection();
    G.filenames[k].clear();
}

void frmLoadfile::cmdEdit_Click()
{
    const FileKind k = m_kind;
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    G.filenames[k] = name;
    const QString path = currentFilePath(k);
    if (!QFileInfo::exists(path)) {
        msgBox(QStringList{QStringLiteral("The file"), path, QStringLiteral("could not be found.")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    QString editor;
    if (auto lines = readTextLines(resolveNoCase(G.datapath, QStringLiteral("alttxted.ini"))); lines && !lines->isEmpty())
        editor = lines->first().trimmed();
    if (!editor.isEmpty())
        launchCommand(editor, {path});
    else
        launchDocument(path);
}

} // namespace tav
