#pragma once
// Random damage to a file, as hand edits, bad disks and other programs do
// it, for the readers' seeded mutation tests.

#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <iterator>
#include <random>

namespace tavtest {

// Damages a file as hand edits, bad disks and other programs do.
inline QByteArray mutate(QByteArray b, std::mt19937 &rng)
{
    auto pick = [&](int n) { return int(rng() % unsigned(std::max(n, 1))); };
    // Numbers out of every range, separators, line ends, bytes outside
    // Latin-1 text and the record markers of the tools' files.
    static const char *const pieces[] = {"-",       ".",     ",",     "e99",    "1e20",     "1e308",
                                         "2600000000000", "99999999999999999999999", "-32768", "99999999",
                                         "nan",     "inf",   "\r",    "\n",     "\r\n",     "\n\r",
                                         " ",       "\t",    "\xff\xfe", "\xd0\x94", "~/",       "-0",
                                         "+5",      "..5",   ",,,,",  "@",      "13",       "2150",
                                         "XXX",     "MEM"};
    const int rounds = 1 + pick(6);
    for (int r = 0; r < rounds; ++r) {
        switch (pick(8)) {
        case 0: // flip a byte
            if (!b.isEmpty())
                b[pick(int(b.size()))] = char(rng());
            break;
        case 1: // insert a piece
            b.insert(pick(int(b.size()) + 1), pieces[pick(int(std::size(pieces)))]);
            break;
        case 2: // cut a stretch
            if (!b.isEmpty()) {
                const int at = pick(int(b.size()));
                b.remove(at, pick(int(b.size()) - at + 1));
            }
            break;
        case 3: // a very long line
            b.insert(pick(int(b.size()) + 1), QByteArray(1 + pick(8000), "9,.-"[pick(4)]));
            break;
        case 4: // duplicate a stretch (more lines than the format has)
            if (!b.isEmpty()) {
                const int at = pick(int(b.size()));
                b.insert(at, b.mid(at, pick(400)));
            }
            break;
        case 5: // a flood of line ends (more lines than the format holds)
            b.insert(pick(int(b.size()) + 1), QByteArray(pick(3000), "\n\r"[pick(2)]));
            break;
        case 6: // random bytes
            for (int i = pick(64); i > 0; --i)
                b.insert(pick(int(b.size()) + 1), char(rng()));
            break;
        default: // truncate
            b.truncate(pick(int(b.size()) + 1));
            break;
        }
    }
    return b;
}

// The lines as a file: Latin-1, each ended by CR LF.
inline QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

} // namespace tavtest
