#pragma once
// The shared Save dialog: proposes the kind's default name, tests the chosen
// name, asks before an existing file is replaced and hands the file to the
// kind's writer (the RTTY capture is opened for appending instead).

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
};

} // namespace tav
