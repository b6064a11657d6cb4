#pragma once
// The memory cell editor: one cell of the memory image changed, filled from
// the receiver's present setting, copied or emptied, and written into the
// image ("To MMW") or straight into the receiver's channel ("To RxM").

#include "core/form.h"
#include "memories/memcell.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <memory>

namespace tav {

class Receiver;

class frmMemcell : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmMemcell;
    frmMemcell();
    ~frmMemcell() override;

    QLabel *lblCellnr = nullptr, *lblFreq1 = nullptr, *lblFreq2 = nullptr, *lblMode = nullptr,
           *lblBandwidth = nullptr, *lblAttenuator = nullptr, *lblAgcspeed = nullptr, *lblPBS = nullptr,
           *lblSqlBfo = nullptr, *lblScanyn = nullptr, *lblMemtag1 = nullptr, *lblMemtag2 = nullptr;
    QComboBox *cmbCellnr = nullptr, *cmbMode = nullptr, *cmbBandwidth = nullptr, *cmbAttenuator = nullptr,
              *cmbAgcspeed = nullptr, *cmbPBS = nullptr, *cmbSqlBfo = nullptr, *cmbScanyn = nullptr;
    QLineEdit *txtFrequency = nullptr, *txtMemtag = nullptr;
    std::array<QPushButton *, 2> cmdToMMWorRM{};
    QPushButton *cmdCancel = nullptr;

    void cmdToMMWorRM_Click(int index);
    void cmdCancel_Click();
    void cmbMode_Change();

    // What the boxes hold now.
    MemCellFields fields() const;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void showCell(int cell);
    void showReceiverSetting();
    void sqlList(bool bfo);
    void fillList(QComboBox *box, const QStringList &items, bool enabled);

    std::unique_ptr<Receiver> m_rx;
    int m_rxtype = 0;
    // What the boxes showed as the editor opened, and the values behind it.
    MemCellShown m_shown;
};

} // namespace tav
