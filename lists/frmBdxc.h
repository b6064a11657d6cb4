#pragma once
// The broadcast list window: a BDXC schedule file, filtered to the lines on
// the air at a UTC time (or all of them); a click on a frequency tunes.

#include "core/filekinds.h"
#include "lists/bdxclist.h"
#include "lists/listwindow.h"

#include <memory>

namespace tav::lists {

class frmBdxc : public ListWindow, public ClockCaptionLink {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmBdxc;
    frmBdxc();
    QTableView *grdBdxc = nullptr;
    // Over the empty grid when nothing is on the air at the time chosen.
    QLabel *lblNothingOnAir = nullptr;

    // Reads a list file, asks for the selection time and shows the selection.
    FileResult bdxcfile2ram(const QString &path);
    void grdBdxc_Click(int row, int column);

    // Rows of the shown selection (below the blank row 0).
    int bdxcrows() const { return m_rows; }

    QString clockCaptionLead() const override { return QStringLiteral("BDXC     LT : "); }
    void showClockCaption(const QString &caption) override { setWindowTitle(caption); }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void gridClick(int row, int column) override { grdBdxc_Click(row, column); }

private:
    int m_rows = 0;
};

} // namespace tav::lists
