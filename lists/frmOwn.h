#pragma once
// The own-list window: the user's own frequency list, every line shown; a
// click on a frequency tunes and then sets the line's mode.

#include "core/filekinds.h"
#include "lists/listwindow.h"
#include "lists/ownlist.h"

#include <memory>

namespace tav::lists {

class frmOwn : public ListWindow, public ClockCaptionLink {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmOwn;
    frmOwn();
    QTableView *grdOwn = nullptr;

    FileResult ownfile2ram(const QString &path);
    void grdOwn_Click(int row, int column);

    QString clockCaptionLead() const override { return QStringLiteral("OWN     LT : "); }
    void showClockCaption(const QString &caption) override { setWindowTitle(caption); }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void gridClick(int row, int column) override { grdOwn_Click(row, column); }
};

} // namespace tav::lists
