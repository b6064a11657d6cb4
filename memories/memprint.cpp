#include "memories/memprint.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tav {

namespace {
bool g_pdfOnly = false;
}

void setMemPrintToPdf(bool pdfOnly) { g_pdfOnly = pdfOnly; }

bool drawMemLines(QPainter &painter, const QStringList &lines, const std::function<bool()> &newPage)
{
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::Courier);
    font.setFixedPitch(true);
    painter.setFont(font);
    const QFontMetrics fm(painter.font(), painter.device());
    const int lineHeight = fm.lineSpacing();
    const int pageHeight = painter.device()->height();
    int y = fm.ascent();
    for (const QString &line : lines) {
        if (y + fm.descent() > pageHeight && y > fm.ascent()) {
            if (!newPage())
                return false;
            y = fm.ascent();
        }
        if (!line.isEmpty())
            painter.drawText(0, y, line);
        y += lineHeight;
    }
    return true;
}

MemPrintOutcome printMemLines(const QStringList &lines, const QString &pdfPath)
{
    MemPrintOutcome out;
    QPrinter printer(QPrinter::HighResolution);
    const bool toPdf = g_pdfOnly || QPrinterInfo::defaultPrinter().isNull();
    if (toPdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        out.pdfPath = pdfPath;
    }
    printer.setDocName(QStringLiteral("Memories"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        out.error = toPdf ? QStringLiteral("The file ") + pdfPath + QStringLiteral(" cannot be written")
                          : QStringLiteral("The printer cannot be used");
        return out;
    }
    const bool drawn = drawMemLines(painter, lines, [&printer] { return printer.newPage(); });
    const bool ended = painter.end();
    out.ok = drawn && ended && printer.printerState() != QPrinter::Error;
    if (out.ok && toPdf && !QFileInfo(pdfPath).isFile())
        out.ok = false;
    if (!out.ok)
        out.error = QStringLiteral("The print job failed");
    return out;
}

} // namespace tav
