#include "lists/frmOwn.h"
#include "core/setupdata.h"

#include "hub/hub.h"
#include "core/globals.h"
#include "core/ui.h"

#include <QFileInfo>

namespace tav::lists {

frmOwn::frmOwn()
    : ListWindow(windowId, QStringLiteral("Own"), FileKind::Own,
                 QStringLiteral("Load Own File"), QStringLiteral("grdOwn"), OwnList::kColumns,
                 {2200, 550, 550, 1000, 620, 620, 620, 620, 620, 620, 620}, {2200, 550, 550, 1000, 4835})
{
    grdOwn = grid;
}

void frmOwn::Form_Load()
{
    ListWindow::Form_Load();
    links::add(static_cast<ClockCaptionLink *>(this));
    setTitles(OwnList::titles());
}

void frmOwn::Form_Unload()
{
    links::remove(static_cast<ClockCaptionLink *>(this));
    ListWindow::Form_Unload();
}

FileResult frmOwn::ownfile2ram(const QString &path)
{
    HourglassGuard hourglass;
    const int capacity = listCapacity(Setting::DimOwn);
    std::optional<ListLines> read = readListLines(path, capacity);
    if (!read)
        return FileResult::failure(listReadFailure(path));
    auto list = std::make_shared<const OwnList>(OwnList::fromLines(read->lines));
    model->show(list->count(), [list](int row, int column) { return list->cell(row, column); });
    lblDbname->setText(G.filenames[FileKind::Own]);
    if (read->overflow)
        reportOverflow(G.filenames[FileKind::Own].isEmpty() ? QFileInfo(path).fileName() : G.filenames[FileKind::Own], capacity,
                       *read, Setting::DimOwn);
    return FileResult::loaded(read->leftOut());
}

void frmOwn::grdOwn_Click(int row, int column)
{
    if (column < OwnList::kFirstTuning || column > OwnList::kLastTuning)
        return;
    // Tuning first: the mode letter then fits the frequency just set.
    tuneToText(cellText(row, column));
    grdOwn->setCurrentIndex(model->index(row, OwnList::kModeColumn));
    hub().SetRx2mfa(cellText(row, OwnList::kModeColumn));
}

} // namespace tav::lists
