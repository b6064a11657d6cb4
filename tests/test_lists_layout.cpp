// The list grids as a listener reads them with a font larger than the small
// one their twip widths were made for: the longest usual text of each column
// fits its cell, and the titles stand over the columns they name.
#include "hub/app.h"
#include "core/globals.h"
#include "lists/frm320Files.h"
#include "lists/frmBdxc.h"
#include "lists/frmLast20.h"
#include "lists/frmMarkfreqs.h"
#include "lists/frmOwn.h"
#include "support/testenv.h"

#include <QApplication>
#include <QStyle>
#include <gtest/gtest.h>

using namespace tav;
using namespace tav::lists;

namespace {

struct Column {
    WindowId window;
    const char *grid;
    int column;
    const char *text;
};

class ListLayout : public ::testing::Test {
protected:
    QFont oldFont;
    void SetUp() override
    {
        oldFont = QApplication::font();
        QFont big = oldFont;
        big.setPixelSize(15);
        QApplication::setFont(big);
        registerBuiltWindows();
    }
    void TearDown() override
    {
        Windows::destroyAll();
        QApplication::setFont(oldFont);
    }
};

TEST_F(ListLayout, UsualTextsFitTheirCells)
{
    const Column columns[] = {
        {WindowId::frmBdxc, "grdBdxc", 2, "0000-2400"},  {WindowId::frmBdxc, "grdBdxc", 3, " 13730"},
        {WindowId::frmBdxc, "grdBdxc", 9, " 21620"},     {WindowId::frmOwn, "grdOwn", 3, "0000-2400"},
        {WindowId::frmOwn, "grdOwn", 4, "13730"},        {WindowId::frmOwn, "grdOwn", 10, "25750"},
        {WindowId::frm320Files, "grd320Files", 1, "09560.000"}, {WindowId::frm320Files, "grd320Files", 5, "0600"},
        {WindowId::frm320Files, "grd320Files", 6, "2400"},      {WindowId::frmLast20, "grdLast20", 0, " 19"},
        {WindowId::frmLast20, "grdLast20", 1, "10000.000"},      {WindowId::frmMarkfreqs, "grdMarkfreqs", 0, " 19"},
    };
    for (const Column &c : columns) {
        TavForm *w = Windows::get(c.window);
        ASSERT_TRUE(w) << windowDecl(c.window).name;
        w->showModeless();
        auto *grid = w->findChild<QTableView *>(QLatin1String(c.grid));
        ASSERT_TRUE(grid) << c.grid;
        const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
        const int needed = grid->fontMetrics().horizontalAdvance(QLatin1String(c.text)) + 2 * margin;
        EXPECT_GE(grid->columnWidth(c.column), needed) << windowDecl(c.window).name << " column " << c.column << " \"" << c.text << "\"";
        w->unload();
    }
}

TEST_F(ListLayout, TitlesStandOverTheirColumns)
{
    for (WindowId id : {WindowId::frmBdxc, WindowId::frmOwn, WindowId::frm320Files}) {
        auto *w = Windows::get<ListWindow>(id);
        ASSERT_TRUE(w) << windowDecl(id).name;
        w->showModeless();
        const int titleLeft = w->grdTitles->mapTo(w, QPoint(0, 0)).x();
        const int listLeft = w->grid->mapTo(w, QPoint(0, 0)).x();
        EXPECT_EQ(titleLeft, listLeft) << windowDecl(id).name;
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(w->grdTitles->columnWidth(c), w->grid->columnWidth(c)) << windowDecl(id).name << " column " << c;
        w->unload();
    }
}

} // namespace
