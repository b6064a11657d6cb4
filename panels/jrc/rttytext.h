#pragma once
// The RTTY decoder's text and settings, apart from its window: the assembly
// of the characters the receiver sends into fifteen display lines, the
// parameter codes of the two JRC models, and the capture file's header lines.

#include <QFile>
#include <QString>
#include <QStringList>
#include <array>

namespace tav {

// Decoded characters arrive in chunks (whatever waited on the port at one
// reading, so a late reading finds several lines and a CR LF may be split
// between two). They are gathered into the line being assembled, which is
// the bottom display line; a line is complete at every line feed, wherever
// it stands in a chunk, or at 71 characters, and then the display rolls up
// by one line.
class RttyLines {
public:
    static constexpr int kLines = 15;
    static constexpr int kWidth = 71;

    // Takes one chunk, character by character. Carriage returns are dropped
    // (the receiver ends its lines with CR LF); a line feed ends the line,
    // except the one that only ends a line already full at 71 characters.
    // Returns the lines this chunk completed, in order, without line ends.
    QStringList take(const QString &chunk);
    // Display line 0 (top) .. 14 (bottom, the line being assembled).
    QString line(int i) const { return (i >= 0 && i < kLines) ? m_lines[i] : QString(); }
    const QString &assembling() const { return m_current; }
    // Empties the display and the line being assembled.
    void clear();
    // Starts a new line being assembled; the display is left as it is.
    void newLine()
    {
        m_current.clear();
        m_full = false;
    }

    // Upper case that stays within Latin-1 (the capture file's character set).
    static QString upper(const QString &s);

private:
    void complete(QStringList &done);

    std::array<QString, kLines> m_lines;
    QString m_current;
    // The last line ended full, and no character has come since.
    bool m_full = false;
};

// The 4-character parameter text the receiver takes: baud code (2), shift
// code (1), polarity code (1). The codes differ between the models as their
// `rttyCodes` say (the NRD-545 takes the baud rate itself, reversed first).
namespace rttycodes {

// The parameter text at the window's start.
QString startParameters(int rxtype);
// Captions of the baud buttons ("45", "50", "75") and shift buttons.
QString baudCaption(int index);
QString shiftCaption(int index);
// Polarity captions: the NRD-535's code 0 is normal, the NRD-545's reverse.
QString polarityCaption(int rxtype, int index);
// The code a button puts into the parameter text.
QString baudCode(int rxtype, int index);
// `params` with the code of button `index` of a group put into its place.
QString withBaud(const QString &params, int rxtype, int index);
QString withShift(const QString &params, int index);
QString withPolarity(const QString &params, int index);
// What the capture header says for the codes in `params`: baud "45"/"50"/
// "75", shift "170"/"425"/"850", polarity "Nor"/"Rev".
QString baudText(const QString &params, int rxtype);
QString shiftText(const QString &params);
QString polarityText(const QString &params, int rxtype);

} // namespace rttycodes

// The capture file's lines at the start and the end of a reception run.
QStringList rttyStartLines(const QString &lt, const QString &utc, const QString &frequency, const QString &params,
                           int rxtype);
QStringList rttyStopLines(const QString &lt, const QString &utc);

// Appends lines (Latin-1, each ended by CR LF) to an open capture file and
// hands them to the system at once, so a crash loses no received text.
// Returns false when the file is not open or the write failed.
bool appendCaptureLines(QFile &file, const QStringList &lines);

} // namespace tav
