#pragma once
// The shared Load dialog: lists the files of the kind it is opened for, makes
// the chosen one the kind's current file and hands it to the kind's reader.

#include "core/filekind.h"
#include "core/form.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace tav {

class frmLoadfile : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmLoadfile;
    frmLoadfile();

    // Shows the dialog modal for files of `kind` (a station list's of
    // database `db`) and returns once it is closed.
    static void showFor(FileKind kind, StationDb db = StationDb::None);
    // The kind the dialog lists from its next load on (showFor sets it).
    void setKind(FileKind kind, StationDb db = StationDb::None);
    FileKind kind() const { return m_kind; }
    // The names listed for `kind` (";" between): a memory file's carry the
    // digit of the receiver opened at Go, a station list's name its database.
    static QString listedPattern(FileKind kind, StationDb db);

    QListWidget *list = nullptr;
    // The folder listed and the names it takes.
    QLabel *lblFolder = nullptr, *lblPattern = nullptr;
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr, *cmdDelete = nullptr, *cmdEdit = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdEdit_Click();
    // Selecting an entry (by a click or the program) makes it the current name.
    void list_Click(int row);
    void list_DblClick(int row);

protected:
    void Form_Load() override;

private:
    FileKind m_kind = FileKind::SourceDb;
    StationDb m_db = StationDb::None;
    // Reads the directory again with the kind's patterns.
    void fillList();
    // The listed file the user has chosen ("" when none is): OK, Delete and
    // Edit act on it and on nothing else.
    QString selectedName() const;
};

} // namespace tav
