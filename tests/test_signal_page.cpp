// The printable propagation page: the listener's details, the graph's
// geometry from a stored file (a measurement across midnight going on to the
// right), Cls, and the page printed to a PDF file.
#include "hub/app.h"
#include "core/globals.h"
#include "core/tables.h"
#include "signal/frmProp2prt2.h"
#include "signal/proppage.h"
#include "support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tav;

namespace {

const QColor kBlack(0, 0, 0);

struct PageWindow : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;

    void SetUp() override
    {
        registerBuiltWindows();
        InitConstants();
        G.datapath = dir.path();
        buildFileDirs();
    }
    void TearDown() override
    {
        frmProp2prt2::alwaysPdf = false;
        Windows::destroyAll();
    }
    frmProp2prt2 *open()
    {
        auto *w = Windows::get<frmProp2prt2>();
        w->load();
        return w;
    }
};

} // namespace

TEST_F(PageWindow, DetailsFromTheIniFileBlanksWhereItIsShort)
{
    QByteArray ini;
    for (int i = 1; i <= 11; ++i)
        ini += "line " + QByteArray::number(i) + "\r\n";
    dir.write(QStringLiteral("prop2prt.ini"), ini);
    frmProp2prt2 *w = open();
    EXPECT_EQ(w->txtdat[3]->text(), QStringLiteral("line 1")) << "receiver";
    EXPECT_EQ(w->txtdat[11]->text(), QStringLiteral("line 9")) << "e-mail; lines beyond the ninth are ignored";
    w->unload();

    dir.write(QStringLiteral("prop2prt.ini"), "RX\r\nWire\r\n");
    w = open();
    EXPECT_EQ(w->txtdat[4]->text(), QStringLiteral("Wire"));
    EXPECT_EQ(w->txtdat[5]->text(), QString());
    w->unload();
    QFile::remove(dir.file(QStringLiteral("prop2prt.ini")));
    w = open();
    EXPECT_EQ(w->txtdat[3]->text(), QString()) << "no file, no details, no error";
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(PageWindow, GraphGeometryTimeLinesAndMidnight)
{
    frmProp2prt2 *w = open();
    const QString path = dir.file(QStringLiteral("PAN_night.TXT"));
    dir.write(QStringLiteral("PAN_night.TXT"), "1 Mar 2026  23:58 UTC\r\n6070.00\r\nCFRX\r\n"
                                               "23:58 090 100 090 100 090 100 090 100\r\n"
                                               "23:59 050 050 050 050 050 050 050 050\r\n"
                                               "00:00 090 100 090 100 090 100 090 100\r\n");
    ASSERT_TRUE(w->pan2prt2file2ram(path).ok);
    EXPECT_EQ(w->txtdat[0]->text(), QStringLiteral("CFRX"));
    EXPECT_EQ(w->txtdat[1]->text(), QStringLiteral("6070.00"));
    EXPECT_EQ(w->txtdat[2]->text(), QStringLiteral("1 Mar 2026  23:58 UTC"));
    const Picture &p = w->Picture1->picture();
    // First line: x 120..123 from S10 (y 448) down to S9 (y 456).
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(p.count(120 + k, 440, 120 + k, 447, kBlack), 0);
        EXPECT_EQ(p.count(120 + k, 448, 120 + k, 455, kBlack), 8) << k;
    }
    // Equal extremes are lowered by 0.2 so a short line shows: y 488..490.
    EXPECT_EQ(p.count(124, 480, 124, 500, kBlack), 3);
    // After midnight the time goes on to the right, with its time line and label at minute 0.
    EXPECT_EQ(p.count(128, 448, 128, 455, kBlack), 8);
    EXPECT_EQ(p.count(128, 352, 128, 447, kBlack), 96) << "the time line from 528 up to 352";
    EXPECT_EQ(p.count(0, 352, 103, 528, kBlack), 0) << "nothing is drawn left of the axis";
    EXPECT_GT(p.count(112, 540, 150, 560, kBlack), 0) << "the time label \"00:00\" under it";

    w->cmdCls->click();
    EXPECT_TRUE(w->txtdat[0]->text().isEmpty());
    EXPECT_EQ(p.count(120, 448, 130, 455, kBlack), 0);
    EXPECT_EQ(p.pixel(112, 400), kBlack) << "the axis stays";
    EXPECT_EQ(p.pixel(300, 456), kBlack) << "the S9 line stays";
}

TEST_F(PageWindow, PrintingWithoutPrinterWritesAPdf)
{
    frmProp2prt2 *w = open();
    frmProp2prt2::alwaysPdf = true;
    w->txtdat[6]->setText(QStringLiteral("A. Listener"));
    const QImage page = w->pageImage();
    EXPECT_EQ(page.size(), QSize(816, 920));
    w->cmdPrint->click();
    const QByteArray pdf = dir.read(QStringLiteral("prop2prt.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF")) << pdf.left(10).toStdString();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Print"));

    // A PDF that cannot be written is reported, never passed over.
    DialogScript::shown.clear();
    G.datapath = dir.path() + QStringLiteral("missing/dir/");
    w->cmdPrint->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Error"));
}
