#include "support/filedialogs.h"

#include "core/form.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace tavtest {

namespace {

// A dialog still up after a few seconds is closed, so no test waits in it for good.
void closeLater(tav::WindowId id)
{
    QTimer::singleShot(10000, [id] {
        if (auto *f = tav::Windows::existing(id))
            f->unload();
    });
}

} // namespace

void answerSaveDialog(const QString &name)
{
    QTimer::singleShot(0, [name] {
        auto *f = tav::Windows::existing<tav::frmSavefile>();
        if (!f || !f->isLoadedForm())
            return;
        if (name.isEmpty()) {
            f->cmdCancel->click();
            return;
        }
        f->cmbSavefile->setEditText(name);
        f->cmdOK->click();
    });
    closeLater(tav::WindowId::frmSavefile);
}

void answerLoadDialog(int row)
{
    QTimer::singleShot(0, [row] {
        auto *d = tav::Windows::existing<tav::frmLoadfile>();
        if (!d || !d->isLoadedForm() || row >= d->list->count())
            return;
        d->list->setCurrentRow(row);
        d->list_Click(row);
        d->cmdOK->click();
    });
    closeLater(tav::WindowId::frmLoadfile);
}

} // namespace tavtest
