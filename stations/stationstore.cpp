#include "stations/stationstore.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/setupdata.h"
#include "core/textfile.h"
#include "stations/ftlrecord.h"

#include <QFile>
#include <cstring>

namespace tav {

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

StationLoad readStationLines(const QString &path, int capacity, QVector<QString> &out)
{
    StationLoad r;
    out.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.ok = false;
        r.error = f.errorString();
        return r;
    }
    const QStringList lines = splitTextLines(f.readAll());
    const int n = std::min<int>(int(lines.size()), capacity);
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(ftl::held(lines[i]));
    r.lines = n;
    r.leftOut = int(lines.size()) - n;
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

bool prefixIs(const QString &rec, int col, const QString &q)
{
    return QStringView(rec).mid(col - 1, q.size()).compare(q, Qt::CaseInsensitive) == 0;
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
            count, [&](int i) { return ftl::wholeKhz(recs[i]) >= lo; },
            [&](int i) { return ftl::wholeKhz(recs[i]) <= hi; }, progress);
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
            const QString &r = recs[i];
            if (c.language && !prefixIs(r, 52, c.languageText))
                return false;
            if (c.station && !prefixIs(r, 20, c.stationText))
                return false;
            if (c.country && !prefixIs(r, 101, c.countryText))
                return false;
            if (c.onAir && !ftl::onAir(ftl::startTime(r), ftl::endTime(r), nowHhmm))
                return false;
            if (c.target && (area < 0 || r.size() <= 90 + area || r[90 + area] != QLatin1Char('1')))
                return false;
            return true;
        },
        progress);
}

QString ilgSearchLine(const QString &rec) { return rec.left(77) + rec.mid(100, 26); }

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
                const double f = ftl::frequency(recs[i]);
                return f > 10 && f >= lo;
            },
            [&](int i) {
                const double f = ftl::frequency(recs[i]);
                return f > 10 && f <= hi;
            },
            progress);
        if (!w)
            return {};
        first = w->first;
        last = w->second;
    }
    return examine(
        first, last, [&](int i) { return !c.network || prefixIs(recs[i], 19, c.networkText); }, progress);
}

QByteArray ftlSortKey(const QString &rec, int sortkey)
{
    const QString r = ftl::held(rec);
    const QString freq = r.mid(0, 8), start = r.mid(9, 4), station = r.mid(19, 21), language = r.mid(51, 16);
    QString k;
    switch (sortkey) {
    case 1: k = start + station + language + freq; break;
    case 2: k = station + language + start + freq; break;
    case 3: k = language + station + start + freq; break;
    default: k = freq + start + station + language; break;
    }
    return k.toLatin1();
}

QVector<int> ftlSort(const QVector<QString> &recs, const QVector<int> &index, int sortkey)
{
    const int hits = int(index.size()) - 1;
    if (hits < 1)
        return index;
    constexpr int kKey = 49;
    // Each entry's key once, side by side; the sort exchanges positions only.
    QByteArray keys(qsizetype(index.size()) * kKey, ' ');
    for (int i = 0; i <= hits; ++i) {
        const int rec = index[i];
        const QByteArray k = rec >= 0 && rec < recs.size() ? ftlSortKey(recs[rec], sortkey) : QByteArray(kKey, ' ');
        std::memcpy(keys.data() + qsizetype(i) * kKey, k.constData(), std::min<qsizetype>(kKey, k.size()));
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

QueryChoices readQueryChoices(const QString &path, int combos)
{
    QueryChoices q;
    q.combos.resize(combos);
    const std::optional<QStringList> lines = readTextLines(path);
    if (!lines)
        return q;
    int current = -1;
    for (const QString &l : *lines) {
        if (l.startsWith(QLatin1String("***"))) {
            ++current;
            continue;
        }
        if (l.startsWith(QLatin1String("===")))
            continue;
        if (current < 0 || current >= combos)
            ++q.leftOut;
        else
            q.combos[current] << l;
    }
    return q;
}

} // namespace tav
