#pragma once
// The ILG conversion window: connects to one of the two ILG dBase tables,
// filters its records by status and writes ILGSDATA.ftl or ILGADATA.ftl.

#include "core/form.h"
#include "core/ui.h"
#include "stations/dbftable.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <array>

namespace tav {

class frmConvertILG : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmConvertILG;
    frmConvertILG();

    QLabel *lblTitle = nullptr, *lblConvert = nullptr, *lblRecnum = nullptr, *lblRecord = nullptr;
    QGroupBox *fraLocate = nullptr, *fraConnect = nullptr, *fraInclude = nullptr, *fraConvert = nullptr,
              *fraRecord = nullptr;
    QPushButton *cmdLocate = nullptr, *cmdExit = nullptr, *cmdConvert = nullptr, *cmdStop = nullptr;
    OptionGroup *optDbconnect = nullptr;
    std::array<CheckBox *, 4> chkInclude{};

    void cmdLocate_Click();
    // The database file chosen in the locate dialog: connecting is possible
    // now, and a known file picks its kind.
    void databaseLocated(const QString &fileName);
    void optDbconnect_Click(int index);
    void cmdConvert_Click();
    void cmdStop_Click() { m_stop = true; }
    void cmdExit_Click() { unload(); }

    bool converting() const { return m_converting; }
    // The table name the connection reads ("" when not connected).
    QString recordSource() const { return m_recordSource; }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_UnloadRequested() override { m_stop = true; }
    void closeEvent(QCloseEvent *ev) override;

private:
    void setBusy(bool busy);
    DbfTable m_table;
    QString m_recordSource;
    bool m_stop = false;
    bool m_converting = false;
};

} // namespace tav
