// The list grids as a listener reads them with a font larger than the small
// one their twip widths were made for: the longest usual text of each column
// fits its cell, and the titles stand over the columns they name (the station
// list's over the data they name, as loaded, as found and scrolled sideways).
#include "hub/app.h"
#include "core/globals.h"
#include "lists/frm320Files.h"
#include "lists/frmBdxc.h"
#include "lists/frmLast20.h"
#include "lists/frmMarkfreqs.h"
#include "lists/frmOwn.h"
#include "stations/stationlist.h"
#include "support/testenv.h"

#include <QApplication>
#include <QScrollBar>
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

TEST_F(ListLayout, StationTitlesStandOverTheDataTheyName)
{
    // One ILG record in its fixed columns.
    QByteArray record(125, ' ');
    const std::pair<int, const char *> fields[] = {{1, "05940.00"}, {10, "1800-1900"}, {20, "Radio Oesterreich"},
                                                   {43, "EU"}, {52, "German"}, {70, "100"}, {78, "4808N 01612E"},
                                                   {101, "AUT"}, {114, "Moosbrunn"}};
    for (const auto &[column, text] : fields)
        record.replace(column - 1, qstrlen(text), text);
    tavtest::ScratchDir dir;
    dir.write("ILGTEST.FTL", record + "\r\n");
    // Each title and the text it stands over.
    const char *over[] = {"05940.00", "1800-1900", "Radio Oesterreich", "EU", "German", "100", "Moosbrunn"};

    auto *w = Windows::get<frmIlg2rx>();
    ASSERT_TRUE(w);
    w->showModeless();
    w->resize(w->minimumSizeHint()); // the list narrower than its lines
    ASSERT_TRUE(w->ilgfile2ram(dir.file("ILGTEST.FTL")).ok);
    auto check = [&](const char *view) {
        SCOPED_TRACE(view);
        QApplication::processEvents();
        const QString line = w->listLines().first();
        const QRect row = w->list->visualRect(w->lines->index(0));
        const int margin = w->list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w->list) + 1;
        const qreal textLeft = w->list->viewport()->mapTo(w, row.topLeft()).x() + margin - w->lblTitles->mapTo(w, QPoint(0, 0)).x();
        const QFontMetricsF mono(w->list->font());
        for (int i = 0; i < int(std::size(over)); ++i) {
            const int at = line.indexOf(QLatin1String(over[i]));
            ASSERT_GE(at, 0) << over[i];
            EXPECT_NEAR(w->lblTitles->titleX(i), textLeft + mono.horizontalAdvance(line.left(at)), 0.5) << over[i];
        }
    };
    check("loaded");
    ASSERT_GT(w->list->horizontalScrollBar()->maximum(), 0);
    w->list->horizontalScrollBar()->setValue(w->list->horizontalScrollBar()->maximum());
    check("scrolled");
    w->showFound({0}, false); // a query's find: the line without coordinates and flags
    check("found");
    w->unload();
}

} // namespace
