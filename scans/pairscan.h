#pragma once
// The pair scan without its window: the table of frequency pairs, its file,
// the run of pair numbers that the scan visits and the eleven rows shown
// around a pair.

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <cstdint>
#include <optional>

namespace tav {

struct FreqPair {
    QString freqa, freqb;
    int16_t active = 0;
    QString remark;
};

// Whether a field holds a number (after blanks): a frequency can be read from it.
bool pairFieldHasNumber(const QString &field);

class PairScan {
public:
    QVector<FreqPair> pairs; // pair numbers 0..pairlast()
    int pairstart = 0;
    int pairend = 0;
    int paircur = 0;

    int pairlast() const { return int(pairs.size()) - 1; }
    bool hasTable() const { return !pairs.isEmpty(); }

    // The pair shown in each of the eleven rows around pair n (row 5 is n).
    std::array<std::optional<int>, 11> rows(int n) const;
    // Whether pair k belongs to the run pairstart..pairend (wrapping when start > end).
    bool inRun(int k) const;
    // Next pair number of the run after paircur.
    void advance();
    // A pair the scan can tune: switched on and with numbers on both sides.
    bool tunable(int k) const;
    // The scan tick's search: from paircur on, the first tunable pair,
    // looking at each pair at most once. std::nullopt when there is none.
    std::optional<int> findTunable();
    // The frequency of pair k's chosen side (0 = A, 1 = B).
    double frequency(int k, int side) const;

    // The file's lines.
    QStringList toLines() const;
    // Reads the table from the file's lines: three fields and the rest of the
    // line as the remark, quotes and all; one of the three fields beginning
    // with a double quote is quoted and holds what stands up to the closing
    // quote. False for a file without lines (nothing changes).
    bool fromLines(const QStringList &lines);
};

} // namespace tav
