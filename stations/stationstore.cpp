#include "stations/stationstore.h"

#include "core/filekinds.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/setupdata.h"
#include "core/recordfile.h"
#include "core/textfile.h"
#include "stations/ftlrecord.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstring>

namespace tav {

StationRecords::StationRecords(const QVector<QString> &lines)
{
    reserve(int(lines.size()));
    for (const QString &l : lines) {
        const QByteArray b = l.left(kWidth).toLatin1();
        append(b.constData(), b.size());
    }
}

void StationRecords::append(const char *line, qsizetype length)
{
    const qsizetype n = std::min<qsizetype>(std::max<qsizetype>(length, 0), kWidth);
    m_bytes.append(line, n);
    if (n < kWidth)
        m_bytes.append(kWidth - n, ' ');
    ++m_count;
}

void StationRecords::clear()
{
    m_bytes = QByteArray();
    m_count = 0;
}

void StationStore::clear()
{
    ftlrecs.clear();
    ftlindex.clear();
    ftlcount = -1;
    ftlhits = -1;
}

StationStore &ftlStore()
{
    static StationStore s;
    return s;
}

int stationStoreCapacity() { return std::max(1, int(roundHalfEven(double(setting(Setting::DimIlg)) * 1000)) + 1); }

qint64 stationFileMaxBytes(int capacity)
{
    // Four times a file of full 125-character lines with CR LF.
    return std::max<qint64>(capacity, 1000) * (ftl::kWrittenWidth + 2) * 4;
}

StationLoad readStationLines(const QString &path, int capacity, StationRecords &out)
{
    StationLoad r;
    out.clear();
    capacity = std::max(capacity, 0);
    const qint64 size = QFileInfo(path).size();
    out.reserve(int(std::min<qint64>(capacity, size / (ftl::kWrittenWidth + 2) + 1)));
    // Whatever the set-up's size, a file is read as far as the largest store's bound.
    const int largest = kListSizeLargest * 1000 + 1;
    const RecordFileRead f = readRecordLines(path, capacity, ftl::kHeldWidth,
                                             stationFileMaxBytes(std::max(capacity, largest)),
                                             [&](const char *d, qsizetype n) { out.append(d, n); });
    if (!f.ok) {
        out.clear();
        r.ok = false;
        r.error = f.error;
        return r;
    }
    out.squeeze();
    r.lines = int(f.lines);
    r.leftOut = int(std::min<qint64>(f.linesInFile - f.lines, INT_MAX));
    r.countStopped = f.countStopped;
    return r;
}

QStringList stationLoadNotice(const StationLoad &r)
{
    if (!r.leftOutLines().any())
        return {};
    return {QStringLiteral("The file holds more lines than the list size allows;"),
            QStringLiteral("the first %1 lines were loaded, %2 %3 left out.")
                .arg(r.lines)
                .arg(leftOutText(r.leftOutLines(), "line"),
                     r.leftOutLines().one() ? QStringLiteral("was") : QStringLiteral("were")),
            setupSizeAdvice(Setting::DimIlg, qint64(r.lines) + r.leftOut, r.countStopped, 1)};
}

StationLoad stationLinesFromContent(const QByteArray &content, int capacity, StationRecords &out)
{
    out.clear();
    const RecordFileRead f = splitRecordLines(content, std::max(capacity, 0), ftl::kHeldWidth,
                                              [&](const char *d, qsizetype n) { out.append(d, n); });
    StationLoad r;
    r.lines = int(f.lines);
    r.leftOut = int(std::min<qint64>(f.linesInFile - f.lines, INT_MAX));
    return r;
}

StationLoad loadStationStore(const QString &path, StationStore &store, int capacity)
{
    store.clear();
    StationLoad r = readStationLines(path, capacity, store.ftlrecs);
    store.ftlcount = int(store.ftlrecs.size()) - 1;
    store.ftlhits = store.ftlcount;
    store.ftlindex.resize(store.ftlrecs.size());
    for (int i = 0; i < store.ftlindex.size(); ++i)
        store.ftlindex[i] = i;
    return r;
}

void normalizeBounds(QString &lower, QString &upper)
{
    if (lower.isEmpty() || numericValue(lower) == 0)
        lower = QStringLiteral("0");
    if (upper.isEmpty() || numericValue(upper) == 0)
        upper = QStringLiteral("32");
    if (numericValue(lower) > numericValue(upper))
        std::swap(lower, upper);
}

namespace {

// The ends of the frequency window, walked from both ends of a file in
// ascending frequency order; nullopt when one walk finds nothing.
template <class Below, class Above>
std::optional<std::pair<int, int>> walkWindow(int count, Below atLeastLower, Above atMostUpper,
                                              const SearchProgress &progress)
{
    int first = -1, last = -1;
    for (int i = 0; i <= count; ++i) {
        if (progress && i % 1000 == 0 && count > 0)
            progress(int(floorInt(double(i) / count * 10)));
        if (atLeastLower(i)) {
            first = i;
            break;
        }
    }
    for (int i = count; i >= 0; --i) {
        if (progress && i % 1000 == 0 && count > 0)
            progress(int(floorInt(double(count - i) / count * 10 + 10)));
        if (atMostUpper(i)) {
            last = i;
            break;
        }
    }
    if (first < 0 || last < 0)
        return std::nullopt;
    return std::make_pair(first, last);
}

bool prefixIs(const char *rec, int col, const QString &q)
{
    const qsizetype n = std::min<qsizetype>(q.size(), StationRecords::kWidth - (col - 1));
    return QLatin1StringView(rec + col - 1, n).compare(q, Qt::CaseInsensitive) == 0;
}

template <class Take>
QVector<int> examine(int first, int last, Take take, const SearchProgress &progress)
{
    QVector<int> found;
    for (int i = first; i <= last; ++i) {
        if (progress && i % 250 == 0 && last != first)
            progress(int(floorInt(double(i - first) / (last - first) * 80 + 20)));
        if (take(i))
            found.append(i);
    }
    return found;
}

} // namespace

QVector<int> ilgSearch(const StationStore &store, IlgCriteria &c, int nowHhmm, const SearchProgress &progress)
{
    const auto &recs = store.ftlrecs;
    const int count = std::min<int>(store.ftlcount, int(recs.size()) - 1);
    int first = 0, last = count;
    if (c.freq) {
        normalizeBounds(c.lower, c.upper);
        const double lo = numericValue(c.lower) * 1000, hi = numericValue(c.upper) * 1000;
        const auto w = walkWindow(
            count, [&](int i) { return ftl::wholeKhz(recs.data(i)) >= lo; },
            [&](int i) { return ftl::wholeKhz(recs.data(i)) <= hi; }, progress);
        if (!w)
            return {};
        first = w->first;
        last = w->second;
    }
    int area = -1;
    if (c.target)
        for (int i = 0; i < 9; ++i)
            if (G.targetareas[i].compare(c.targetText, Qt::CaseInsensitive) == 0) {
                area = i;
                break;
            }
    return examine(
        first, last,
        [&](int i) {
            const char *r = recs.data(i);
            if (c.language && !prefixIs(r, 52, c.languageText))
                return false;
            if (c.station && !prefixIs(r, 20, c.stationText))
                return false;
            if (c.country && !prefixIs(r, 101, c.countryText))
                return false;
            if (c.onAir && !ftl::onAir(ftl::startTime(r), ftl::endTime(r), nowHhmm))
                return false;
            if (c.target && (area < 0 || r[90 + area] != '1'))
                return false;
            return true;
        },
        progress);
}

QString ilgSearchLine(const QString &rec) { return rec.left(77) + rec.mid(100, 26); }

QString ilgSearchLine(const char *rec)
{
    QString s(77 + 26, Qt::Uninitialized);
    QChar *d = s.data();
    for (int i = 0; i < 77; ++i)
        d[i] = QLatin1Char(rec[i]);
    for (int i = 0; i < 26; ++i)
        d[77 + i] = QLatin1Char(rec[100 + i]);
    return s;
}

QVector<int> aeroSearch(const StationStore &store, AeroCriteria &c, const SearchProgress &progress)
{
    const auto &recs = store.ftlrecs;
    const int count = std::min<int>(store.ftlcount, int(recs.size()) - 1);
    int first = 0, last = count;
    if (c.freq) {
        normalizeBounds(c.lower, c.upper);
        const double lo = numericValue(c.lower) * 1000, hi = numericValue(c.upper) * 1000;
        const auto w = walkWindow(
            count,
            [&](int i) {
                const double f = ftl::frequency(recs.data(i));
                return f > 10 && f >= lo;
            },
            [&](int i) {
                const double f = ftl::frequency(recs.data(i));
                return f > 10 && f <= hi;
            },
            progress);
        if (!w)
            return {};
        first = w->first;
        last = w->second;
    }
    return examine(
        first, last, [&](int i) { return !c.network || prefixIs(recs.data(i), 19, c.networkText); }, progress);
}

void ftlSortKey(const char *r, int sortkey, char *k)
{
    // Frequency (8), start (4), station (21), language (16), in the order of the key.
    struct Part {
        int from, width;
    };
    constexpr Part freq{0, 8}, start{9, 4}, station{19, 21}, language{51, 16};
    Part order[4];
    switch (sortkey) {
    case 1: order[0] = start, order[1] = station, order[2] = language, order[3] = freq; break;
    case 2: order[0] = station, order[1] = language, order[2] = start, order[3] = freq; break;
    case 3: order[0] = language, order[1] = station, order[2] = start, order[3] = freq; break;
    default: order[0] = freq, order[1] = start, order[2] = station, order[3] = language; break;
    }
    for (const Part &p : order) {
        std::memcpy(k, r + p.from, size_t(p.width));
        k += p.width;
    }
}

QByteArray ftlSortKey(const QString &rec, int sortkey)
{
    const QByteArray r = ftl::held(rec).toLatin1();
    QByteArray k(49, ' ');
    ftlSortKey(r.constData(), sortkey, k.data());
    return k;
}

QVector<int> ftlSort(const StationRecords &recs, const QVector<int> &index, int sortkey)
{
    const int hits = int(index.size()) - 1;
    if (hits < 1)
        return index;
    constexpr int kKey = 49;
    // Each entry's key once, side by side; the sort exchanges positions only.
    QByteArray keys(qsizetype(index.size()) * kKey, ' ');
    for (int i = 0; i <= hits; ++i) {
        const int rec = index[i];
        if (rec >= 0 && rec < recs.size())
            ftlSortKey(recs.data(rec), sortkey, keys.data() + qsizetype(i) * kKey);
    }
    QVector<int> pos(index.size());
    for (int i = 0; i <= hits; ++i)
        pos[i] = i;
    const unsigned char *kd = reinterpret_cast<const unsigned char *>(keys.constData());
    auto greater = [&](int a, int b) { return std::memcmp(kd + qsizetype(a) * kKey, kd + qsizetype(b) * kKey, kKey) > 0; };
    auto passes = [&](int gap) {
        int lastExchange;
        do {
            lastExchange = 0;
            for (int i = 0; i <= hits - gap; ++i) {
                if (greater(pos[i], pos[i + gap])) {
                    std::swap(pos[i], pos[i + gap]);
                    lastExchange = i;
                }
            }
        } while (lastExchange != 0);
    };
    if (hits == 1) {
        if (greater(pos[0], pos[1]))
            std::swap(pos[0], pos[1]);
    } else {
        int gap = hits;
        while (gap > 1) {
            gap = int(roundHalfEven(gap / 2.0));
            passes(gap);
        }
    }
    QVector<int> out(index.size());
    for (int i = 0; i <= hits; ++i)
        out[i] = index[pos[i]];
    return out;
}

std::optional<StationScan::Step> StationScan::tick(int count, const std::function<double(int)> &freqAt)
{
    if (count <= 0)
        return std::nullopt;
    if (position < 0 || position >= count)
        position = 0;
    double f = freqAt(position);
    int passed = 0;
    while (f == lastFrequency && passed < 200) {
        position = (position + 1) % count;
        ++passed;
        f = freqAt(position);
    }
    if (passed == 200)
        position = 0;
    lastFrequency = f;
    return Step{f, position};
}

void StationScan::advance(int count)
{
    if (count <= 0)
        return;
    position = (position + 1) % count;
}

} // namespace tav
