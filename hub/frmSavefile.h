#pragma once
// The shared Save dialog, opened for a file kind: proposes the kind's default name, tests the chosen
// name, asks before an existing file is replaced and hands the file to the
// kind's writer (the RTTY capture is opened for appending instead).

#include "core/filekind.h"
#include "core/form.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace tav {

class frmSavefile : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmSavefile;
    frmSavefile();

    // Shows the dialog modal for a file of `kind` and returns once it is closed.
    static void showFor(FileKind kind);
    // The kind the dialog saves from its next load on (showFor sets it).
    void setKind(FileKind kind) { m_kind = kind; }
    FileKind kind() const { return m_kind; }
    // The name offered for `kind`: a memory file's carries the digit of the
    // receiver opened at Go, whose image it is.
    static QString offeredName(FileKind kind);

    QComboBox *cmbSavefile = nullptr;
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr;
    // The folder the file goes to and the names the kind takes.
    QLabel *lblFolder = nullptr, *lblPattern = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();

    // Whether `name` may be saved as a file of `kind`: not empty, no directory
    // part, no control character, the kind's prefix and ".TXT" (compared in
    // upper case), and its last "." at most at position 37, so that it has at
    // most 40 characters. A memory file also carries the open receiver's
    // digit after its prefix, or the Load dialog, which lists only that
    // receiver's files, would never offer it again.
    static bool acceptableName(const QString &name, FileKind kind);
    // Why a name is refused ("" when it is acceptable), for the user.
    static QString refusal(const QString &name, FileKind kind);
    // The names a kind's files take ("FSP_*.TXT") and a good one ("FSP_evening.TXT").
    static QString namePattern(FileKind kind);
    static QString goodName(FileKind kind);

protected:
    void Form_Load() override;

private:
    FileKind m_kind = FileKind::SourceDb;
};

} // namespace tav
