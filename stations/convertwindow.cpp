#include "stations/convertwindow.h"

#include "core/form.h"
#include "core/ui.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>

namespace tav {

void locateConversionSource(OptionGroup *connect)
{
    connect->select(0);
    if (TavForm *p = Windows::get(WindowId::frmILGfinddbf))
        p->showModal();
}

std::optional<QString> pickedSourceFile(const QStringList &listed, const QString &clicked)
{
    if (!clicked.isEmpty())
        return clicked;
    if (listed.size() == 1)
        return listed.first();
    return std::nullopt;
}

ConversionHooks conversionWindowHooks(QLabel *count, QLabel *record, const bool &stop)
{
    ConversionHooks hooks;
    hooks.progress = [count, record](qint64 n, const QString &line) {
        count->setText(QString::number(n));
        record->setText(line.left(77));
    };
    hooks.processEvents = [count, record] {
        count->repaint();
        record->repaint();
        QCoreApplication::processEvents();
    };
    hooks.stopRequested = [&stop] { return stop; };
    return hooks;
}

bool stopInsteadOfClose(QCloseEvent *ev, bool converting, bool &stop)
{
    if (!converting)
        return false;
    ev->ignore();
    stop = true;
    return true;
}

void reportConversionWriteFailure(const QString &out, const QString &error)
{
    // A refusal of a write-protected file names it and says it was kept.
    if (error.contains(out)) {
        msgBox(QStringList{QStringLiteral("The conversion did not complete:"), error}, MsgIcon::Exclamation,
               QStringLiteral("Error"));
        return;
    }
    msgBox(QStringList{QStringLiteral("The conversion did not complete; the file"), out,
                       QStringLiteral("was left as it was:"), error},
           MsgIcon::Exclamation, QStringLiteral("Error"));
}

void showConversionCount(QLabel *count, QLabel *record, qint64 n)
{
    record->clear();
    count->setText(QString::number(n));
    record->repaint();
    count->repaint();
}

} // namespace tav
