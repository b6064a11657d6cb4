#pragma once
// The ".320" list window: a comma-separated station list; a click on a row
// sets the row's mode and then tunes to its frequency.

#include "core/filekinds.h"
#include "lists/f320list.h"
#include "lists/listwindow.h"

#include <memory>

namespace tav::lists {

class frm320Files : public ListWindow {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frm320Files;
    frm320Files();
    QTableView *grd320Files = nullptr;

    FileResult f320file2ram(const QString &path);
    void grd320Files_Click(int row, int column);

protected:
    void Form_Load() override;
    void gridClick(int row, int column) override { grd320Files_Click(row, column); }
};

} // namespace tav::lists
