#pragma once
// Putting the printed memory list on paper: one line per text line in
// "Courier New" 10, a new page when the page is full, one job. Where no
// printer is set up the job goes to a PDF file instead.

#include <QString>
#include <QStringList>
#include <functional>

class QPaintDevice;
class QPainter;

namespace tav {

// Draws the lines top to bottom on `painter`'s device, calling `newPage`
// whenever the next line would not fit (false from it stops the drawing).
// Returns whether every line was drawn.
bool drawMemLines(QPainter &painter, const QStringList &lines, const std::function<bool()> &newPage);

struct MemPrintOutcome {
    bool ok = false;
    QString pdfPath; // set when the list went to a PDF file
    QString error;
};

// Prints the lines on the default printer, or, when none is set up, into the
// PDF file `pdfPath`.
MemPrintOutcome printMemLines(const QStringList &lines, const QString &pdfPath);

// Tests: send every print to the PDF file, whatever printers exist.
void setMemPrintToPdf(bool pdfOnly);

} // namespace tav
