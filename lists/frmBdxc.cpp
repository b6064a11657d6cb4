#include "lists/frmBdxc.h"
#include "core/setupdata.h"

#include "core/globals.h"
#include "core/ui.h"

#include <QFileInfo>
#include <QVBoxLayout>

namespace tav::lists {

frmBdxc::frmBdxc()
    : ListWindow(windowId, QStringLiteral("BDXC "), FileKind::Bdxc,
                 QStringLiteral("Load BDXC File"), QStringLiteral("grdBdxc"), BdxcList::kColumns,
                 {1400, 1800, 1120, 620, 620, 620, 620, 620, 620, 620}, {1400, 1800, 1120, 4680})
{
    grdBdxc = grid;
    lblNothingOnAir = makeLabel(QStringLiteral("lblNothingOnAir"), QString(), grdBdxc->viewport());
    lblNothingOnAir->setAlignment(Qt::AlignCenter);
    lblNothingOnAir->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *over = new QVBoxLayout(grdBdxc->viewport());
    over->addWidget(lblNothingOnAir);
    lblNothingOnAir->hide();
}

void frmBdxc::Form_Load()
{
    ListWindow::Form_Load();
    links::add(static_cast<ClockCaptionLink *>(this));
    m_rows = 0;
    lblNothingOnAir->hide();
    setTitles({QStringLiteral(" Country"), QStringLiteral(" Broadcast Org"), QStringLiteral(" Time(UTC)"),
               QStringLiteral(" Frequencies")});
}

void frmBdxc::Form_Unload()
{
    links::remove(static_cast<ClockCaptionLink *>(this));
    ListWindow::Form_Unload();
}

FileResult frmBdxc::bdxcfile2ram(const QString &path)
{
    const int capacity = listCapacity(Setting::DimBdxc);
    std::optional<ListLines> read;
    {
        HourglassGuard hourglass;
        read = readListLines(path, capacity);
    }
    if (!read)
        return FileResult::failure(listReadFailure(path));
    const QString name = G.filenames[FileKind::Bdxc].isEmpty() ? QFileInfo(path).fileName() : G.filenames[FileKind::Bdxc];
    if (read->overflow)
        reportOverflow(name, capacity, *read, Setting::DimBdxc);
    const LeftOut leftOut = read->leftOut();
    auto list = std::make_shared<const BdxcList>(BdxcList::fromLines(read->lines));
    read.reset();

    const std::optional<QString> answer =
        inputBox(QStringList{QStringLiteral("Enter time in UTC (Format: hhmm)."),
                             QStringLiteral("To enter current time in UTC just press enter"),
                             QStringLiteral("Enter 'all' to get all records in the file")}
                     .join(QLatin1Char('\n')),
                 QStringLiteral("Selection Criterium"), BdxcList::defaultAnswer(G.utctext));
    if (auto rows = list->select(answer.value_or(QString()))) {
        HourglassGuard hourglass;
        m_rows = int(rows->size());
        model->show(m_rows, [list, rows = std::move(*rows)](int row, int column) {
            return list->cell(rows[row - 1], column);
        });
        lblDbname->setText(G.filenames[FileKind::Bdxc]);
        // An empty grid alone would look like a file that did not load.
        const bool none = m_rows == 0 && BdxcList::isTimeAnswer(*answer);
        lblNothingOnAir->setText(none ? QStringLiteral("Nothing in the list is on the air at ") + *answer +
                                            QStringLiteral(" UTC.")
                                      : QString());
        lblNothingOnAir->setVisible(none);
    }
    setTitles(BdxcList::titles(G.filenames[FileKind::Bdxc]));
    return FileResult::loaded(leftOut);
}

void frmBdxc::grdBdxc_Click(int row, int column)
{
    if (row < 0 || row > m_rows || column < 3 || column > 9)
        return;
    tuneToText(cellText(row, column));
}

} // namespace tav::lists
