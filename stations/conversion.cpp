#include "stations/conversion.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "stations/dbftable.h"
#include "stations/ftlrecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace tav {

QString stationDirectory(bool create)
{
    if (!G.filedirs[FileKind::StationList].isEmpty() && QFileInfo(G.filedirs[FileKind::StationList]).isDir())
        return G.filedirs[FileKind::StationList];
    const QDir data(G.datapath);
    for (const QString &e : data.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (e.compare(QLatin1String("rx2db"), Qt::CaseInsensitive) == 0)
            return G.datapath + e + QLatin1Char('/');
    const QString dir = G.datapath + QStringLiteral("RX2DB/");
    if (create)
        ensureDir(dir);
    return dir;
}

namespace {

// The output file and the rhythm of event processing shared by both conversions.
class Run {
public:
    Run(const QString &outPath, const ConversionHooks &hooks) : m_file(outPath), m_hooks(hooks)
    {
        if (!m_file.ok())
            fail(m_file.error());
        m_clock.start();
    }
    bool stopNow()
    {
        if (m_hooks.stopRequested && m_hooks.stopRequested())
            result.stopped = true;
        return result.stopped || !result.ok;
    }
    void write(const QString &line)
    {
        if (!result.ok)
            return;
        m_file.writeLine(line);
        if (!m_file.ok())
            fail(m_file.error());
    }
    // Every record or line looked at, written or not, counts here: a table
    // of nothing but skipped records must still let Stop through.
    void events()
    {
        if (m_clock.elapsed() >= ConversionHooks::kEventIntervalMs || m_first) {
            m_first = false;
            if (m_hooks.processEvents)
                m_hooks.processEvents();
            m_clock.restart();
        }
    }
    void progress(const QString &line)
    {
        if (result.count % 100 == 0 && m_hooks.progress)
            m_hooks.progress(result.count, line);
    }
    ConversionResult finish()
    {
        if (result.ok) {
            if (!m_file.commit())
                fail(m_file.error());
        } else {
            m_file.cancel();
        }
        return result;
    }
    void fail(const QString &why)
    {
        if (!result.ok)
            return;
        result.ok = false;
        result.error = why.isEmpty() ? QStringLiteral("write failed") : why;
    }
    ConversionResult result;

private:
    AtomicFileWriter m_file;
    const ConversionHooks &m_hooks;
    QElapsedTimer m_clock;
    bool m_first = true;
};

// A frequency as the table must give it: digits with at most one point and
// nothing else ("1e308" and "12,5" are not frequencies), that fits the
// record's frequency columns. The table's text is decimal, so its own digits
// are rounded: no binary value stands between it and the record.
std::optional<QString> plainFrequency(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    return ftl::frequencyText(QStringView(*text));
}

} // namespace

ConversionResult convertIlg(const DbfTable &table, const std::array<bool, 4> &include, const QString &outPath,
                            const ConversionHooks &hooks)
{
    Run run(outPath, hooks);
    const int fFreq = table.field(QStringLiteral("FREQ")), fUtc = table.field(QStringLiteral("UTC")),
              fStatus = table.field(QStringLiteral("STATUS")), fStation = table.field(QStringLiteral("STATION")),
              fTarget = table.field(QStringLiteral("TARGET")), fLanguage = table.field(QStringLiteral("LANGUAGE")),
              fPower = table.field(QStringLiteral("POWER")), fLat = table.field(QStringLiteral("LATI")),
              fLon = table.field(QStringLiteral("LONGI")), fCountry = table.field(QStringLiteral("COUNTRY")),
              fLocation = table.field(QStringLiteral("LOCATION"));
    std::array<int, 9> fArea{};
    for (int i = 0; i < 9; ++i)
        fArea[i] = table.field(G.targetareas[i]);
    const QString statuses = QStringLiteral("EINP");
    double lastFreq = -1;
    const int n = table.recordCount();
    for (int rec = 0; rec < n && !run.stopNow(); ++rec) {
        run.events();
        // The table was measured when it was connected; a record that cannot
        // be read now (the file shrank) makes the whole conversion fail, so
        // the old station file is not replaced by part of the new one.
        if (!table.readable(rec)) {
            run.fail(QStringLiteral("record %1 of the %2 the table counts could not be read; the table is damaged.")
                         .arg(rec + 1)
                         .arg(n));
            break;
        }
        if (table.isDeleted(rec))
            continue;
        const std::optional<QString> utc = table.value(rec, fUtc);
        if (!utc || utc->isEmpty() || !(*utc)[0].isDigit() || (*utc)[0].unicode() > 127)
            continue;
        const QString status = table.value(rec, fStatus).value_or(QStringLiteral("C")).toUpper();
        if (status.size() == 1) {
            const int k = statuses.indexOf(status[0]);
            if (k >= 0 && !include[k])
                continue;
        }
        // A FREQ that is missing, not a plain number or wider than its
        // columns would shift every column after it: such a record is
        // counted apart.
        const std::optional<QString> freq = plainFrequency(table.value(rec, fFreq));
        if (!freq) {
            ++run.result.noFrequency;
            continue;
        }
        ftl::Fields f;
        f.freq = *freq;
        f.utc = *utc;
        auto text = [&](int field) { return table.value(rec, field).value_or(QString()); };
        f.station = text(fStation);
        f.target = text(fTarget);
        f.language = text(fLanguage);
        f.power = text(fPower);
        f.lat = text(fLat);
        f.lon = text(fLon);
        for (int i = 0; i < 9; ++i)
            f.areas[i] = table.value(rec, fArea[i]) == G.targetareas[i];
        f.country = text(fCountry);
        f.location = text(fLocation);
        const QString line = ftl::build(f);
        run.write(line);
        const double fr = leadingNumber(*freq);
        if (fr < lastFreq)
            run.result.unordered = true;
        lastFreq = fr;
        ++run.result.count;
        run.progress(line);
    }
    return run.finish();
}

ConversionResult convertAero(const QString &sourcePath, bool networkOnly, const QString &outPath,
                             const ConversionHooks &hooks)
{
    const std::optional<TextLines> read = readTextFile(sourcePath, filelimits::kAeroSource);
    if (!read) {
        ConversionResult r;
        r.ok = false;
        r.error = QStringLiteral("%1 could not be read: %2").arg(sourcePath, readFailureReason(sourcePath));
        return r;
    }
    const QStringList *lines = &read->lines;
    Run run(outPath, hooks);
    if (read->cut)
        run.result.sourceLinesLeftOut = filelimits::kAeroSource.maxLines;
    bool started = false;
    QString above, lastKey;
    bool anyKey = false;
    for (const QString &source : *lines) {
        if (run.stopNow())
            break;
        QString line = source;
        if (!networkOnly) {
            const double f = numericValue(line.left(8));
            if (f > 1000 || (started && f >= 1000)) {
                started = true;
                if (f > 1000)
                    run.write(line);
            } else if (started) {
                // A continuation line takes the frequency, status and network
                // of the entry above it.
                if (line.size() > 39 && above.size() > 39) {
                    line = above.left(39) + line.mid(39);
                    if (numericValue(line.left(8)) > 1000)
                        run.write(line);
                }
            }
            above = line;
        } else if (numericValue(line) > 2000) {
            const QString key = ftl::fit(line.left(8), 8) + line.mid(16, 22);
            if (!anyKey || key != lastKey)
                run.write(key.left(8) + QString(8, QLatin1Char(' ')) + key.mid(8));
            lastKey = key;
            anyKey = true;
        }
        ++run.result.count;
        run.progress(source);
        run.events();
    }
    return run.finish();
}

} // namespace tav
