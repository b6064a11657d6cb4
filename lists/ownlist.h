#pragma once
// The user's own frequency list (OWN_ files): fixed-column lines of 100 bytes,
// eight frequencies and a mode letter per line, every line shown.

#include "lists/listfile.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace tav::lists {

class OwnList {
public:
    static constexpr int kWidth = 100;
    static constexpr int kColumns = 14;
    // Grid columns that tune: the first seven frequencies.
    static constexpr int kFirstTuning = 4, kLastTuning = 10;
    static constexpr int kModeColumn = 13;

    static OwnList fromLines(const QList<QByteArray> &raw);
    int count() const { return int(m_lines.size()); }

    // Grid column 0..13 of line k (from 1): organisation, ITU code, language,
    // time, frequencies 1 to 8, an empty column and the upper-cased mode
    // letter ("" when the line has none).
    QString cell(int k, int column) const;

    static QStringList titles();

private:
    QVector<QByteArray> m_lines;
};

} // namespace tav::lists
