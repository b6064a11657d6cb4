// The list grids as a listener reads them with a font larger than the small
// one their twip widths were made for: the longest usual text of each column
// fits its cell, and the titles stand over the columns they name.
#include "core/app.h"
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
    const char *window;
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
        {"frmBdxc", "grdBdxc", 2, "0000-2400"},  {"frmBdxc", "grdBdxc", 3, " 13730"},
        {"frmBdxc", "grdBdxc", 9, " 21620"},     {"frmOwn", "grdOwn", 3, "0000-2400"},
        {"frmOwn", "grdOwn", 4, "13730"},        {"frmOwn", "grdOwn", 10, "25750"},
        {"frm320Files", "grd320Files", 1, "09560.000"}, {"frm320Files", "grd320Files", 5, "0600"},
        {"frm320Files", "grd320Files", 6, "2400"},      {"frmLast20", "grdLast20", 0, " 19"},
        {"frmLast20", "grdLast20", 1, "10000.000"},      {"frmMarkfreqs", "grdMarkfreqs", 0, " 19"},
    };
    for (const Column &c : columns) {
        TavForm *w = Windows::get(QLatin1String(c.window));
        ASSERT_TRUE(w) << c.window;
        w->showModeless();
        auto *grid = w->findChild<QTableView *>(QLatin1String(c.grid));
        ASSERT_TRUE(grid) << c.grid;
        const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
        const int needed = grid->fontMetrics().horizontalAdvance(QLatin1String(c.text)) + 2 * margin;
        EXPECT_GE(grid->columnWidth(c.column), needed) << c.window << " column " << c.column << " \"" << c.text << "\"";
        w->unload();
    }
}

TEST_F(ListLayout, TitlesStandOverTheirColumns)
{
    for (const char *name : {"frmBdxc", "frmOwn", "frm320Files"}) {
        auto *w = Windows::get<ListWindow>(QLatin1String(name));
        ASSERT_TRUE(w) << name;
        w->showModeless();
        const int titleLeft = w->grdTitles->mapTo(w, QPoint(0, 0)).x();
        const int listLeft = w->grid->mapTo(w, QPoint(0, 0)).x();
        EXPECT_EQ(titleLeft, listLeft) << name;
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(w->grdTitles->columnWidth(c), w->grid->columnWidth(c)) << name << " column " << c;
        w->unload();
    }
}

} // namespace
