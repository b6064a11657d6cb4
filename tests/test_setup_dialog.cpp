// The set-up dialog driven as a user would: typing, leaving boxes, clicking.
#include "hub/app.h"
#include "hub/frmSetUp.h"
#include "hub/frmWelcome.h"
#include "core/settings.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "support/testenv.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace tav;

namespace {

struct SetUpDialog : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    frmSetUp *dlg = nullptr;

    void SetUp() override
    {
        registerBuiltWindows();
        applySettingsLines({dir.path(), "5130N", "00007W", " 1"});
        dlg = Windows::get<frmSetUp>();
        ASSERT_NE(dlg, nullptr);
        dlg->showModeless();
    }
    void TearDown() override
    {
        if (dlg && dlg->isLoadedForm())
            dlg->unload();
    }
    // Types into a box and leaves it, as a user tabbing on would.
    void enter(QLineEdit *box, const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    }
    void expectRejected(QLineEdit *box, const QString &defText, const QString &message, const QString &title)
    {
        ASSERT_FALSE(dialogs.shown().isEmpty()) << "no message for " << box->objectName().toStdString();
        EXPECT_EQ(dialogs.shown().last().text, message);
        EXPECT_EQ(dialogs.shown().last().title, title);
        EXPECT_EQ(dialogs.shown().last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(box->text(), defText);
    }
};

} // namespace

TEST_F(SetUpDialog, LoadShowsEveryValueInItsForm)
{
    EXPECT_EQ(dlg->txtDirpath->text(), dir.path());
    EXPECT_TRUE(dlg->optRxtype.button(1)->isChecked());
    EXPECT_TRUE(dlg->optCom.button(0)->isChecked());
    EXPECT_TRUE(dlg->fraRx[1]->isVisibleTo(dlg));
    EXPECT_FALSE(dlg->fraRx[2]->isVisibleTo(dlg));
    EXPECT_EQ(dlg->txtDimilg->text(), " 15");
    EXPECT_EQ(dlg->txtAgctc[1]->text(), "3");
    EXPECT_EQ(dlg->txtNrbc[0]->text(), "50");
    EXPECT_EQ(dlg->txtLevelL->text(), "00");
    EXPECT_TRUE(Windows::loaded(WindowId::frmSetUp));
    EXPECT_FALSE(dlg->lblComDevice[0]->text().isEmpty()) << "each COM option names its device";
}

TEST_F(SetUpDialog, RejectedEntriesPutTheDefaultBackWithTheirMessage)
{
    enter(dlg->txtDimbdxc, "31");
    expectRejected(dlg->txtDimbdxc, "2", "Range is between\n1 and 30 (x 1000)", "Default");
    EXPECT_EQ(G.setupdata[4], 2);
    enter(dlg->txtDimbdxc, "30");
    EXPECT_EQ(G.setupdata[4], 30);
    enter(dlg->txtDimown, "2.5");
    EXPECT_EQ(G.setupdata[5], 2.5f);

    enter(dlg->txtDimilg, "0");
    expectRejected(dlg->txtDimilg, "15", "Range is between\n1 and 30 (x 1000)", "Default");

    dlg->fraRx[4]->setVisible(true);
    enter(dlg->txtAgctc[1], "0");
    expectRejected(dlg->txtAgctc[1], "3", "AGC time constant factor\nshould be between 1 and 9", "Default");
    enter(dlg->txtNrbc[0], "300");
    expectRejected(dlg->txtNrbc[0], "50", "Noise reduction or Beat Canceller effect\nshould be between 0 and 255",
                   "Default");
    EXPECT_EQ(G.setupdata[26], 50);

    enter(dlg->txtARoptions[2], "7");
    expectRejected(dlg->txtARoptions[2], "1", "Filter number should be\nwithin the range 1 to 6", "Default");
    enter(dlg->txtFreqcorr[0], "-1001");
    expectRejected(dlg->txtFreqcorr[0], "0",
                   "Frequency error correction\nshould be within the range\n+ 1000 to - 1000 Hz", "Default");
    enter(dlg->txtLevel, "100");
    expectRejected(dlg->txtLevel, "0", "Level setting should\nbe between 0 and 99", "Default");
    enter(dlg->txtLevelR, "99");
    EXPECT_EQ(G.setupdata[29], 99);
}

TEST_F(SetUpDialog, LocalTimeOffsetChecks)
{
    enter(dlg->txtLt2utc, "5.2");
    EXPECT_EQ(G.setupdata[3], 5.5f);
    EXPECT_EQ(dlg->txtLt2utc->text(), "5.2") << "the box keeps the text as typed";
    enter(dlg->txtLt2utc, "-5.7");
    EXPECT_EQ(G.setupdata[3], -5.5f);
    const int before = dialogs.shown().size();
    enter(dlg->txtLt2utc, " 1");
    enter(dlg->txtLt2utc, "1:30");
    EXPECT_EQ(G.setupdata[3], 1);
    EXPECT_EQ(dialogs.shown().size(), before);

    enter(dlg->txtLt2utc, "-13.2");
    expectRejected(dlg->txtLt2utc, "0", "Range is between\n+13 and -13 h", "Default 1");
    enter(dlg->txtLt2utc, "");
    expectRejected(dlg->txtLt2utc, "0", "Range is between\n+13 and -13 h", "Default 1");
    enter(dlg->txtLt2utc, "1 ");
    expectRejected(dlg->txtLt2utc, "0", "Range is between\n+13 and -13 h", "Default 2");
    enter(dlg->txtLt2utc, "1a");
    expectRejected(dlg->txtLt2utc, "0", "Range is between\n+13 and -13 h", "Default 2");
    EXPECT_EQ(G.setupdata[3], 0);
}

TEST_F(SetUpDialog, PositionAndPathChecks)
{
    enter(dlg->txtRxlatitude, "8959S");
    EXPECT_EQ(G.rxlatitude, "8959S");
    for (const char *bad : {"5130n", "0000N", "9000N", "513N"}) {
        enter(dlg->txtRxlatitude, bad);
        expectRejected(dlg->txtRxlatitude, defaultLatitude(), "Invalid Latitude\nExample: " + defaultLatitude(),
                       "Default");
        EXPECT_EQ(G.rxlatitude, defaultLatitude());
    }
    enter(dlg->txtRxlongitude, "17959W");
    EXPECT_EQ(G.rxlongitude, "17959W");
    enter(dlg->txtRxlongitude, "01320E");
    EXPECT_EQ(G.rxlongitude, "01320E");
    enter(dlg->txtRxlongitude, "18000E");
    expectRejected(dlg->txtRxlongitude, defaultLongitude(), "Invalid Longitude\nExample: " + defaultLongitude(),
                   "Default");

    enter(dlg->txtDirpath, "/srv/radio");
    EXPECT_EQ(dlg->txtDirpath->text(), "/srv/radio/");
    EXPECT_EQ(G.datapath, "/srv/radio/");
    enter(dlg->txtDirpath, "data");
    expectRejected(dlg->txtDirpath, QDir::homePath() + "/DiDuzu/", "Invalid path\nExample " + QDir::homePath() + "/DiDuzu/",
                   "Default");
    EXPECT_EQ(G.datapath, QDir::homePath() + "/DiDuzu/");
}

TEST_F(SetUpDialog, ChoicesTakeEffectAtOnceAndTheLabelFollows)
{
    frmWelcome *w = frmWelcome::instance();
    dlg->optRxtype.button(4)->click();
    EXPECT_EQ(G.rxtype, 4);
    EXPECT_EQ(w->lblGo->text(), "NRD545");
    EXPECT_EQ(w->lblGo->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_TRUE(dlg->fraRx[4]->isVisibleTo(dlg));
    EXPECT_FALSE(dlg->fraRx[1]->isVisibleTo(dlg));
    dlg->optRxtype.button(3)->click();
    EXPECT_EQ(w->lblGo->text(), "RX320");
    EXPECT_EQ(w->lblGo->palette().color(QPalette::Window), QColor(128, 204, 128));

    dlg->optCom.button(2)->click();
    EXPECT_EQ(G.setupdata[1], 3);
    dlg->optRxtargetarea.button(3)->click();
    EXPECT_EQ(G.setupdata[2], 3);
    dlg->optStartstep.button(2)->click();
    EXPECT_EQ(G.setupdata[8], 2);
    dlg->chkMute[1]->click();
    EXPECT_EQ(G.setupdata[19], 1);
    dlg->chkDisableLL->click();
    EXPECT_EQ(G.setupdata[30], 1);
    dlg->chkNRDoptions[2]->click();
    EXPECT_EQ(G.setupdata[12], 1);

    G.setupdata[4] = 9; // changed elsewhere: Reload shows what the variables hold now
    dlg->cmdReload->click();
    EXPECT_EQ(dlg->txtDimbdxc->text(), " 9");
    dlg->cmdClose->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmSetUp));
    EXPECT_EQ(G.rxtype, 3) << "Close keeps the choices for the running program";
    EXPECT_FALSE(QFile::exists(dir.file("tavorin2.ini")));
}

TEST_F(SetUpDialog, SaveWritesWhereTheNextStartReads)
{
    dlg->optRxtype.button(2)->click();
    enter(dlg->txtDimlog, "4");
    dlg->cmdSave->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmSetUp));
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().text, "New INI data is now saved");
    EXPECT_EQ(dialogs.shown().last().title, "Save INI");
    resetProgramState();
    readSettingsFile();
    EXPECT_EQ(G.rxtype, 2);
    EXPECT_EQ(G.setupdata[6], 4);
}

TEST_F(SetUpDialog, FailedSaveIsReportedAndNeverCalledSaved)
{
    G.datapath = "/proc/no-such-place/";
    dlg->cmdSave->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_NE(dialogs.shown().last().text, "New INI data is now saved");
    EXPECT_TRUE(dialogs.shown().last().text.contains("/proc/no-such-place/"));
}

TEST_F(SetUpDialog, DirectoriesTheSettingsFileCannotKeepAreRefused)
{
    // Pasted rather than typed: the test keyboard knows only ASCII.
    auto enter = [](QLineEdit *box, const QString &text) {
        box->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    };
    const QString def = QDir::homePath() + "/DiDuzu/";
    for (const QString &bad : {QStringLiteral(""), QStringLiteral("   "), QStringLiteral("/srv/\u0440\u0430\u0434\u0438\u043e")}) {
        const int before = dialogs.shown().size();
        enter(dlg->txtDirpath, bad);
        ASSERT_EQ(dialogs.shown().size(), before + 1) << bad.toStdString();
        EXPECT_TRUE(dialogs.shown().last().text.startsWith("Invalid path\n"));
        EXPECT_EQ(dlg->txtDirpath->text(), def);
        EXPECT_EQ(G.datapath, def);
    }
    EXPECT_TRUE(dialogs.shown().last().text.contains("cannot keep"));
    // Latin-1 accents are fine; a directory under the home folder is kept as "~/...".
    enter(dlg->txtDirpath, QStringLiteral("/srv/r\u00e9ception"));
    EXPECT_EQ(G.datapath, QStringLiteral("/srv/r\u00e9ception/"));
    enter(dlg->txtDirpath, QStringLiteral("~/r\u00e9ception"));
    EXPECT_EQ(G.datapath, QDir::homePath() + QStringLiteral("/r\u00e9ception/"));
    EXPECT_EQ(settingsLines().first(), QStringLiteral("~/r\u00e9ception/"));
}

TEST_F(SetUpDialog, EntriesAreCheckedOnlyWhenTheFocusMovesWithinTheDialog)
{
    dlg->txtDimbdxc->clear();
    QTest::keyClicks(dlg->txtDimbdxc, "4");
    // Another window or a context menu takes the focus: the half-typed entry stays.
    for (Qt::FocusReason why : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, why);
        QApplication::sendEvent(dlg->txtDimbdxc, &out);
    }
    QTest::keyClicks(dlg->txtDimbdxc, "0");
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(dlg->txtDimbdxc->text(), "40");
    // Save checks the entry still being typed: rejected, nothing is saved.
    dlg->txtDimbdxc->setFocus();
    ASSERT_EQ(dlg->focusWidget(), dlg->txtDimbdxc);
    dlg->cmdSave_Click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "Range is between\n1 and 30 (x 1000)");
    EXPECT_TRUE(dlg->isLoadedForm());
    EXPECT_FALSE(QFile::exists(dir.file("tavorin2.ini")));
    // Moving on to another box of the dialog checks it.
    enter(dlg->txtDimbdxc, "31");
    EXPECT_EQ(dialogs.shown().last().text, "Range is between\n1 and 30 (x 1000)");
}

TEST_F(SetUpDialog, CommonControlsKeepTheirPlacesAndDevicesFollowTheDirPath)
{
    // Every named control outside the receiver frames, where a click finds it.
    auto places = [&] {
        QStringList out;
        for (QWidget *w : dlg->findChildren<QWidget *>())
            if (!w->objectName().isEmpty() && w->isVisibleTo(dlg) &&
                std::none_of(dlg->fraRx, dlg->fraRx + 5, [w](QGroupBox *f) { return f == w || f->isAncestorOf(w); }))
                out << QStringLiteral("%1 %2,%3 %4x%5").arg(w->objectName()).arg(w->mapTo(dlg, QPoint()).x())
                           .arg(w->mapTo(dlg, QPoint()).y()).arg(w->width()).arg(w->height());
        return out;
    };
    ASSERT_TRUE(tavtest::settled(dlg));
    const QStringList first = places();
    ASSERT_GT(first.size(), 30);
    for (int type : {0, 2, 3, 4, 1}) {
        QTest::mouseClick(dlg->optRxtype.button(type), Qt::LeftButton);
        ASSERT_EQ(G.rxtype, type);
        QApplication::processEvents();
        EXPECT_EQ(places(), first) << "receiver type " << type;
    }
    // Another data directory with its own "comports.ini": its devices at once.
    tavtest::ScratchDir other;
    other.write(QStringLiteral("comports.ini"), "/dev/ttyACM7\r\n\r\n/dev/rfcomm2\r\n");
    enter(dlg->txtDirpath, other.path());
    EXPECT_EQ(dlg->lblComDevice[0]->text(), "/dev/ttyACM7");
    EXPECT_EQ(dlg->lblComDevice[2]->text(), "/dev/rfcomm2");
}
