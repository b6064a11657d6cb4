#include "lists/frm320Files.h"
#include "core/setupdata.h"

#include "hub/hub.h"
#include "core/globals.h"
#include "core/ui.h"

#include <QFileInfo>
#include <QFont>

namespace tav::lists {

frm320Files::frm320Files()
    : ListWindow(windowId, QStringLiteral(".320 files"), FileKind::F320,
                 QStringLiteral("Load .320 File"), QStringLiteral("grd320Files"), F320List::kColumns,
                 {2130, 975, 345, 1605, 1080, 450, 450, 2085}, {2130, 975, 345, 1605, 1080, 450, 450, 2085},
                 QStringLiteral("lblDBname"))
{
    grd320Files = grid;
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    grdTitles->setFont(courier);
}

void frm320Files::Form_Load()
{
    ListWindow::Form_Load();
    setTitles(F320List::titles());
}

FileResult frm320Files::f320file2ram(const QString &path)
{
    HourglassGuard hourglass;
    const int capacity = listCapacity(Setting::DimOwn);
    std::optional<ListLines> read = readListLines(path, capacity);
    if (!read)
        return FileResult::failure(listReadFailure(path));
    auto list = std::make_shared<const F320List>(F320List::fromLines(read->lines));
    model->show(list->count(), [list](int row, int column) { return list->cell(row, column); });
    lblDbname->setText(G.filenames[FileKind::F320]);
    if (read->overflow)
        reportOverflow(G.filenames[FileKind::F320].isEmpty() ? QFileInfo(path).fileName() : G.filenames[FileKind::F320], capacity,
                       *read, Setting::DimOwn);
    return FileResult::loaded(read->leftOut());
}

void frm320Files::grd320Files_Click(int row, int column)
{
    if (row < 0 || row >= model->rowCount() || column < 0)
        return;
    // The mode first, then the frequency, as this list has always done.
    grd320Files->setCurrentIndex(model->index(row, F320List::kModeColumn));
    hub().SetRx2mfa(cellText(row, F320List::kModeColumn).left(1).toLower());
    grd320Files->setCurrentIndex(model->index(row, F320List::kFrequencyColumn));
    tuneToText(cellText(row, F320List::kFrequencyColumn));
}

} // namespace tav::lists
