#pragma once
// A broadcast schedule file (BDXC list): fixed-column lines of 100 bytes with
// continuation lines, the on-air selection by a UTC time, and the grid cells
// of a line.

#include "lists/listfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace tav::lists {

class BdxcList {
public:
    static constexpr int kWidth = 100;
    static constexpr int kColumns = 10;

    // Builds the list from a file's lines (cut or padded to 100 bytes, the
    // continuation rules applied in file order).
    static BdxcList fromLines(const QList<QByteArray> &raw);

    int count() const { return int(m_lines.size()); }
    // Line k, k from 1.
    const QByteArray &line(int k) const { return m_lines[k - 1]; }

    // Whether an answer to "Selection Criterium" is a time: four characters
    // whose leading numeric value is above 0 and at most 2400.
    static bool isTimeAnswer(const QString &answer);
    // Whether a line running from `start` to `end` is on the air at `t`; the
    // three are compared as texts. Equal start and end mean all day.
    static bool onAir(const QByteArray &start, const QByteArray &end, const QByteArray &t);
    // The lines (from 1) an answer selects, in file order: the lines on the
    // air at a time, every line for "all" in any case; std::nullopt for any
    // other answer.
    std::optional<QVector<int>> select(const QString &answer) const;

    // Grid column 0..9 of line k: first field, second field, the time, then
    // frequency fields 1 to 7.
    QString cell(int k, int column) const;

    // The title row a load puts up, by the loaded file's name.
    static QStringList titles(const QString &fileName);
    // The default answer: the UTC clock text's hours and minutes as hhmm.
    static QString defaultAnswer(const QString &utctext);

private:
    QVector<QByteArray> m_lines;
};

} // namespace tav::lists
