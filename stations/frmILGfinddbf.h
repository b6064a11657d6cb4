#pragma once
// The table picker of the two conversions: a drive box, a directory list and
// the list of the files that fit the caller's names (matched without regard
// to case). OK leaves the directory and the name in the slot of file kind 0.

#include "core/form.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

namespace tav {

class frmILGfinddbf : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmILGfinddbf;
    frmILGfinddbf();

    QComboBox *drvILG = nullptr;
    QListWidget *dirILG = nullptr, *flbILG = nullptr;
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr;

    QString path() const { return m_path; }
    QString pattern() const { return m_pattern; }
    // The directory list moves to `dir`; the file list follows.
    void dirILG_Change(const QString &dir);
    void drvILG_Change(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;

private:
    void fillDirs();
    QString m_path, m_pattern;
};

} // namespace tav
