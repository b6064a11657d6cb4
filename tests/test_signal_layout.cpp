// The measurement windows keep their fixed pixel layout, so every caption,
// filled-in frequency and start time must fit the box it is given, and the
// histogram chooser must show its whole choice.
#include "hub/app.h"
#include "core/globals.h"
#include "signal/frmPropagation.h"
#include "signal/frmProphisto.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QLabel>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

using namespace tav;

namespace {

// Every label's text (or the longest text it is given) fits its box.
void expectLabelsFit(QWidget *w, const QString &frequency, const QString &date)
{
    for (QLabel *l : w->findChildren<QLabel *>()) {
        QString text = l->text();
        if (l->objectName() == QLatin1String("lblFrequency"))
            text = frequency;
        else if (l->objectName() == QLatin1String("lblDate"))
            text = date;
        if (text.isEmpty())
            continue;
        EXPECT_LE(l->fontMetrics().horizontalAdvance(text), l->width()) << l->objectName().toStdString() << " \""
                                                                        << text.toStdString() << "\"";
    }
}

} // namespace

TEST(SignalLayout, CaptionsFrequencyAndStartTimeFitTheirBoxes)
{
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    registerBuiltWindows();
    G.datapath = dir.path();
    G.goRxtype = G.rxtype = 0;
    const QString freq = QStringLiteral("29999.999");
    const QString date = QStringLiteral("28 Sep 2026  23:59 UTC");

    auto *p = Windows::get<frmPropagation>();
    p->load();
    expectLabelsFit(p, freq, date);
    p->unload();

    auto *h = Windows::get<frmProphisto>();
    h->load();
    expectLabelsFit(h, freq, QStringLiteral("28.09.2026 23:59:59"));
    for (QComboBox *c : h->findChildren<QComboBox *>()) {
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
        for (int i = 0; i < c->count(); ++i)
            EXPECT_LE(c->fontMetrics().horizontalAdvance(c->itemText(i)), field.width())
                << c->objectName().toStdString() << " \"" << c->itemText(i).toStdString() << "\"";
    }
    Windows::destroyAll();
}
