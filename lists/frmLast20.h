#pragma once
// The last twenty tuned frequencies, newest first. Every panel loads the
// window hidden, so the hub records from the start; a click tunes back.

#include "core/form.h"
#include "core/links.h"
#include "core/ui.h"
#include "lists/gridmodel.h"
#include "lists/recentlist.h"

#include <QPushButton>
#include <QTableView>

namespace tav::lists {

class frmLast20 : public TavForm, public Last20Link {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmLast20;
    frmLast20();

    CheckBox *chkNofreqsteps = nullptr;
    QPushButton *cmdExit = nullptr, *cmdClear = nullptr;
    QTableView *grdTitles = nullptr, *grdLast20 = nullptr;
    TextGridModel *rows = nullptr;

    void grdLast20_Click(int row, int column);
    void cmdClear_Click();
    void cmdExit_Click();

    // The recorded texts (kept while the window is unloaded).
    const RecentList &last20freqs() const { return m_freqs; }
    // The frequency text row r shows.
    QString shown(int r) const { return rows->text(r, 1); }

    // The hub records a tuned frequency.
    void fillgrdlast20(const QString &freqtext) override;
    bool ignoresFreqSteps() const override { return chkNofreqsteps->value() == 1; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void numberRows();
    RecentList m_freqs;
};

} // namespace tav::lists
