// Every tool window of the registry, closed and opened again, comes back as
// it was designed: whatever its last use did to its controls, and to the
// measurement state behind its pictures, is gone.
#include "hub/app.h"
#include "core/canvas.h"
#include "core/clock.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "panels/frmPanel.h"
#include "signal/frmProphisto.h"
#include "signal/frmSmeter.h"
#include "support/testenv.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QCryptographicHash>
#include <QLayout>
#include <QPushButton>
#include <QTest>
#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <gtest/gtest.h>
#include <map>

using namespace tav;

namespace {

QString pathOf(const QWidget *w, const QWidget *form)
{
    QStringList parts;
    for (const QWidget *p = w; p && p != form; p = p->parentWidget()) {
        const QWidget *parent = p->parentWidget();
        const int index = parent ? int(parent->children().indexOf(const_cast<QWidget *>(p))) : 0;
        parts.prepend(QStringLiteral("%1:%2#%3").arg(QLatin1String(p->metaObject()->className()), p->objectName())
                          .arg(index));
    }
    return parts.join(QLatin1Char('/'));
}

// The window's own controls, not the parts Qt makes inside a composite one.
QList<QWidget *> controls(TavForm *f)
{
    QList<QWidget *> out;
    for (QWidget *w : f->findChildren<QWidget *>()) {
        bool inside = false;
        for (QObject *p = w->parent(); p && p != f; p = p->parent())
            inside = inside || qobject_cast<QAbstractScrollArea *>(p) || qobject_cast<QComboBox *>(p) ||
                     qobject_cast<QAbstractSpinBox *>(p);
        if (!inside)
            out << w;
    }
    return out;
}

// What a user could see of every control, one line each.
QStringList snapshot(TavForm *f)
{
    QStringList out;
    out << QStringLiteral("window size=%1x%2 title=%3").arg(f->width()).arg(f->height()).arg(f->windowTitle());
    for (QWidget *w : controls(f)) {
        QString s = pathOf(w, f) + QStringLiteral(" enabled=%1 hidden=%2 min=%3x%4 max=%5x%6")
                                        .arg(w->isEnabled())
                                        .arg(w->isHidden())
                                        .arg(w->minimumWidth())
                                        .arg(w->minimumHeight())
                                        .arg(w->maximumWidth())
                                        .arg(w->maximumHeight());
        if (w->parentWidget() && !w->parentWidget()->layout())
            s += QStringLiteral(" at=%1,%2,%3,%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
        if (auto *l = qobject_cast<QLabel *>(w))
            s += QStringLiteral(" text=%1 picture=%2").arg(l->text()).arg(!l->pixmap().isNull());
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            s += QStringLiteral(" text=%1 checked=%2").arg(b->text()).arg(b->isChecked());
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            s += QStringLiteral(" title=") + g->title();
        else if (auto *e = qobject_cast<QLineEdit *>(w))
            s += QStringLiteral(" text=") + e->text();
        else if (auto *t = qobject_cast<QPlainTextEdit *>(w))
            s += QStringLiteral(" text=") + t->toPlainText();
        else if (auto *c = qobject_cast<QComboBox *>(w))
            s += QStringLiteral(" items=%1 index=%2 text=%3").arg(c->count()).arg(c->currentIndex()).arg(c->currentText());
        else if (auto *lw = qobject_cast<QListWidget *>(w))
            s += QStringLiteral(" items=%1").arg(lw->count());
        else if (auto *sl = qobject_cast<QAbstractSlider *>(w))
            s += QStringLiteral(" value=%1").arg(sl->value());
        else if (auto *sp = qobject_cast<QSpinBox *>(w))
            s += QStringLiteral(" value=%1").arg(sp->value());
        else if (auto *cv = qobject_cast<Canvas *>(w)) {
            const QImage &img = cv->picture().image();
            s += QStringLiteral(" picture=") +
                 QString::fromLatin1(QCryptographicHash::hash(QByteArrayView(img.constBits(), img.sizeInBytes()),
                                                              QCryptographicHash::Md5)
                                         .toHex());
        }
        if (auto *sa = qobject_cast<QAbstractScrollArea *>(w))
            s += QStringLiteral(" scrolled=%1,%2").arg(sa->horizontalScrollBar()->value()).arg(sa->verticalScrollBar()->value());
        if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->selectionModel()) {
            s += QStringLiteral(" selected=%1").arg(v->selectionModel()->selectedIndexes().size());
        }
        out << s;
    }
    return out;
}

// Changes every control as a use of the window could, no handler running.
void disturb(TavForm *f)
{
    f->resize(f->width() + 40, f->height() + 30);
    f->setWindowTitle(QStringLiteral("used"));
    for (QWidget *w : controls(f)) {
        const QSignalBlocker block(w);
        if (auto *l = qobject_cast<QLabel *>(w)) {
            l->setText(QStringLiteral("used"));
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            b->setText(QStringLiteral("used"));
            if (b->isCheckable())
                b->setChecked(!b->isChecked());
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            g->setTitle(QStringLiteral("used"));
        } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
            e->setText(QStringLiteral("used"));
        } else if (auto *t = qobject_cast<QPlainTextEdit *>(w)) {
            t->setPlainText(QStringLiteral("used"));
        } else if (auto *c = qobject_cast<QComboBox *>(w)) {
            c->addItem(QStringLiteral("used"));
            c->setCurrentIndex(c->count() - 1);
        } else if (auto *lw = qobject_cast<QListWidget *>(w)) {
            lw->addItem(QStringLiteral("used"));
        } else if (auto *sl = qobject_cast<QAbstractSlider *>(w)) {
            sl->setMaximum(sl->maximum() + 7);
            sl->setValue(sl->maximum());
        } else if (auto *sp = qobject_cast<QSpinBox *>(w)) {
            sp->setValue(sp->value() == sp->maximum() ? sp->minimum() : sp->maximum());
        } else if (auto *cv = qobject_cast<Canvas *>(w)) {
            cv->picture().box(0, 0, 9, 9, Qt::red);
        }
        if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->model() && v->model()->rowCount() > 0 &&
                                                             v->model()->columnCount() > 0)
            v->setCurrentIndex(v->model()->index(v->model()->rowCount() - 1, 0));
        if (auto *sa = qobject_cast<QAbstractScrollArea *>(w)) {
            sa->horizontalScrollBar()->setValue(sa->horizontalScrollBar()->maximum());
            sa->verticalScrollBar()->setValue(sa->verticalScrollBar()->maximum());
        }
        w->setMinimumWidth(w->minimumWidth() + 1);
        if (w->parentWidget() && !w->parentWidget()->layout())
            w->resize(w->width() + 3, w->height() + 2);
        w->setEnabled(!w->isEnabled());
        w->setHidden(!w->isHidden());
    }
}

struct Reopen : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    void SetUp() override
    {
        InitConstants();
        G.datapath = dir.path();
        buildFileDirs();
        Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 20, 0)));
        registerBuiltWindows();
        frmWelcome::instance()->load();
    }
    void TearDown() override
    {
        Windows::destroyAll();
        frmWelcome::destroy();
    }
};

// What some windows keep behind their controls, used before the close and
// checked after the next load.
struct ModelState {
    std::function<void(TavForm *)> use;
    std::function<void(TavForm *)> check;
};

const std::map<WindowId, ModelState> &modelStates()
{
    // A list closed in its large size opens small, its buttons on the screen.
    const ModelState large{[](TavForm *f) {
                               auto *l = f->findChild<QPushButton *>(QStringLiteral("cmdHeigh"));
                               ASSERT_NE(l, nullptr);
                               const int small = f->height();
                               QTest::mouseClick(l, Qt::LeftButton);
                               tavtest::pump(20);
                               ASSERT_GT(f->height(), small);
                           },
                           [](TavForm *) {}};
    static const std::map<WindowId, ModelState> m = {
        {WindowId::frmBdxc, large},
        {WindowId::frmIlg2rx, large},
        {WindowId::frmSmeter,
         {[](TavForm *f) {
              auto *w = static_cast<frmSmeter *>(f);
              for (int i = 0; i < 5; ++i)
                  w->tmrSmeter_Timer();
              ASSERT_GT(w->history().position(), 0);
          },
          [](TavForm *f) {
              auto *w = static_cast<frmSmeter *>(f);
              EXPECT_EQ(w->history().position(), 0) << "the ring starts afresh";
              EXPECT_EQ(w->history().count(9), 0) << "the bins start afresh";
          }}},
        {WindowId::frmProphisto,
         {[](TavForm *f) {
              auto *w = static_cast<frmProphisto *>(f);
              QTest::mouseClick(w->cmdStart, Qt::LeftButton);
              Clock::advanceSecs(118);
              w->tmrProphisto_Timer();
              QTest::mouseClick(w->cmdStop, Qt::LeftButton);
              ASSERT_GT(w->trace().gate(), 0);
          },
          [](TavForm *f) {
              EXPECT_EQ(static_cast<frmProphisto *>(f)->trace().gate(), 0) << "the first histogram comes at 58 s";
          }}},
    };
    return m;
}

} // namespace

TEST_F(Reopen, EveryToolWindowComesBackAsDesigned)
{
    int tried = 0;
    for (const WindowDecl &d : windowDecls) {
        if (d.id == WindowId::frmWelcome || !Windows::available(d.id))
            continue;
        const QString name = windowName(d.id);
        TavForm *f = Windows::get(d.id);
        ASSERT_NE(f, nullptr) << name.toStdString();
        // The receiver panels are the program's main windows, not tools.
        if (qobject_cast<frmPanel *>(f) || d.id == WindowId::frmNoRx)
            continue;
        SCOPED_TRACE(name.toStdString());
        ++tried;
        f->showModeless();
        tavtest::pump(20);
        ASSERT_TRUE(f->isLoadedForm());
        const QStringList designed = snapshot(f);
        const auto model = modelStates().find(d.id);
        if (model != modelStates().end())
            model->second.use(f);
        disturb(f);
        ASSERT_NE(snapshot(f), designed) << "the use changed nothing";
        f->unload();
        tavtest::pump(20);
        f->showModeless();
        tavtest::pump(20);
        const QStringList again = snapshot(f);
        QStringList differences;
        for (int i = 0; i < std::max(designed.size(), again.size()); ++i) {
            const QString a = designed.value(i), b = again.value(i);
            if (a != b)
                differences << QStringLiteral("  designed: %1\n  reopened: %2").arg(a, b);
        }
        EXPECT_TRUE(differences.isEmpty()) << differences.join(QLatin1Char('\n')).toStdString();
        if (model != modelStates().end())
            model->second.check(f);
        f->unload();
        tavtest::pump(10);
    }
    EXPECT_GE(tried, 30) << "every tool window of the registry";
}
