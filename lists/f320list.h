#pragma once
// A ".320" station list: comma-terminated fields, optionally in double
// quotes, the frequency in MHz and a mode text per line.

#include "lists/listfile.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace tav::lists {

class F320List {
public:
    static constexpr int kFields = 15;
    static constexpr int kColumns = 10;
    static constexpr int kModeColumn = 2, kFrequencyColumn = 1;
    using Row = std::array<QString, kFields>;

    // The fields of one line: each text that a "," ends, with one leading and
    // one trailing double quote removed; text after the last "," is ignored,
    // and so are fields beyond the fifteenth.
    static Row parseLine(const QByteArray &line);
    static F320List fromLines(const QList<QByteArray> &raw);

    int count() const { return int(m_rows.size()); }
    const Row &row(int k) const { return m_rows[k - 1]; }

    // Grid column 0..9 of line k (from 1): name, frequency in kHz
    // ("00000.000"), mode, location, language, start, end, the notes' first
    // 20 characters; columns 8 and 9 stay empty.
    QString cell(int k, int column) const;
    // The frequency text of an MHz field.
    static QString frequencyText(const QString &mhz);

    static QStringList titles();

private:
    QVector<Row> m_rows;
};

} // namespace tav::lists
