#pragma once
// The tools' file readers as the fuzz targets and the mutation tests drive
// them: each takes one file's bytes, reads them the way its window does
// (under the kind's limits) and says whether everything read stayed within
// its form. Readers marked onDisk go through a file in `dir`.

#include "core/canvas.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "lists/bdxclist.h"
#include "lists/f320list.h"
#include "lists/listfile.h"
#include "lists/ownlist.h"
#include "lists/scratchpadfile.h"
#include "logbook/frmLogdialogs.h"
#include "scans/bandscan.h"
#include "scans/listscan.h"
#include "scans/pairscan.h"
#include "signal/propfile.h"
#include "signal/proppage.h"
#include "stations/conversion.h"
#include "stations/dbftable.h"
#include "stations/queryini.h"
#include "tests/support/dbfwrite.h"

#include <QFile>
#include <cmath>
#include <vector>

namespace tavfuzz {

using namespace tav;

struct ToolReader {
    const char *name;
    QByteArray (*valid)();
    bool (*read)(const QByteArray &bytes, const QString &dir);
    bool onDisk;
};

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray crlfLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

// Lists of this many rows: the readers stop there whatever the file holds.
constexpr int kListRows = 300;

template <class List> bool readList(const QByteArray &b, int columns)
{
    const lists::ListLines l = lists::splitListLines(b, kListRows);
    const List list = List::fromLines(l.lines);
    if (list.count() > kListRows)
        return false;
    for (int k = 1; k <= list.count(); ++k)
        for (int c = 0; c < columns; ++c)
            if (list.cell(k, c).size() > b.size() + 32)
                return false;
    return true;
}

inline QByteArray validBdxc()
{
    QStringList l;
    for (int i = 0; i < 20; ++i)
        l << QStringLiteral("Country %1").arg(i).leftJustified(16) + QStringLiteral("Radio %1").arg(i).leftJustified(17) +
                 QStringLiteral("0600-0700").leftJustified(16) + QStringLiteral("%1,,%2,").arg(6000 + i).arg(9500 + i);
    return crlfLines(l);
}

inline QByteArray validOwn()
{
    QStringList l;
    for (int i = 0; i < 20; ++i)
        l << (QStringLiteral("Radio Org").leftJustified(19) + QStringLiteral(" D   GER 0600-0700")).leftJustified(43) +
                 QStringLiteral("u").leftJustified(7) + QStringLiteral("%1,5,,7100,1").arg(6070 + i);
    return crlfLines(l);
}

inline QByteArray validF320()
{
    QStringList l;
    for (int i = 0; i < 20; ++i)
        l << QStringLiteral("\"Radio %1\",9.56,\"USB\",a,b,c,d,\"Town\",\"Eng\",0600,0700,\"A note\",x,y,z,").arg(i);
    return crlfLines(l);
}

inline QByteArray validScratchPad()
{
    QStringList l;
    for (int r = 0; r < 10; ++r)
        l << QStringLiteral("notes %1,6070,7100,,9560,,,,,").arg(r);
    return crlfLines(l);
}

inline bool readScratchPad(const QByteArray &b, const QString &)
{
    const TextLines t = splitTextLines(b, filelimits::kScratchPad);
    lists::ScratchPad pad;
    pad.readLines(t.lines);
    return t.lines.size() <= lists::ScratchPad::kRows;
}

inline QByteArray validListScan()
{
    QStringList l;
    for (int i = 0; i < 20; ++i)
        l << (i % 3 ? numPlain(6000 + i * 5.5) : QStringLiteral("-"));
    return crlfLines(l);
}

inline bool readListScan(const QByteArray &b, const QString &)
{
    const TextLines t = splitTextLines(b, filelimits::kListScan);
    if (t.lines.size() > 20)
        return false;
    for (const QString &box : sflfile2boxes(t.lines, 10, 30000))
        if (box != QLatin1String("-") && !(numericValue(box) >= 10 && numericValue(box) <= 30000))
            return false;
    return true;
}

inline QByteArray validPairs()
{
    QStringList l;
    for (int i = 0; i < 40; ++i)
        l << QStringLiteral("%1,%2,%3,remark, with comma %4").arg(6000 + i).arg(9000 + i).arg(i % 2).arg(i);
    return crlfLines(l);
}

inline bool readPairs(const QByteArray &b, const QString &)
{
    const TextLines t = splitTextLines(b, filelimits::kPairScan);
    PairScan s;
    if (!s.fromLines(t.lines))
        return t.lines.isEmpty();
    if (s.pairlast() > 32767)
        return false;
    s.pairstart = 0;
    s.pairend = s.pairlast();
    s.paircur = 0;
    if (const auto k = s.findTunable(); k && (*k < 0 || *k > s.pairlast() || !std::isfinite(s.frequency(*k, 0))))
        return false;
    for (const auto &row : s.rows(s.pairlast() / 2))
        if (row && (*row < 0 || *row > s.pairlast()))
            return false;
    return true;
}

inline QByteArray validBand()
{
    QStringList l{QStringLiteral("9 Dec 2026  08:00 Z"), QStringLiteral(" 7000"), QStringLiteral(" 7100"),
                  QStringLiteral(" .5"), QStringLiteral(" 200")};
    for (int k = 0; k <= 200; ++k)
        l << BandSweep::levelText(float(k % 23));
    return crlfLines(l);
}

inline bool readBand(const QByteArray &b, const QString &)
{
    const TextLines t = splitTextLines(b, filelimits::kBandScan);
    const std::optional<BandSweep::File> f = BandSweep::parse(t.lines, nullptr);
    if (!f)
        return true;
    if (f->laststep < 0 || f->laststep > BandSweep::kMaxStep)
        return false;
    for (int k = 0; k <= f->laststep; ++k)
        if (!(f->levels[size_t(k)] >= BandSweep::kMinLevel && f->levels[size_t(k)] <= BandSweep::kMaxLevel))
            return false;
    Picture pic(632, 423, QColor(255, 255, 192));
    BandSweep sweep(pic);
    sweep.applyOverlay(*f, overlayColour(1));
    sweep.sbstepnr = sweep.sbfilelaststep;
    // What is read can be written back, each level in its three digits.
    for (const QString &l : sweep.toLines(f->caption).mid(5))
        if (l.size() > 4)
            return false;
    return true;
}

inline QByteArray validPropagation()
{
    QStringList l{QStringLiteral("1 Mar 2026  10:00 UTC"), QStringLiteral(" 6070"), QStringLiteral("R. Vaticana")};
    // Half an hour across a full hour: the overlay asks at the hour.
    for (int m = 45; m < 75; ++m)
        l << QStringLiteral("%1:%2 088 093 085 091 090 097 089 092")
                 .arg(10 + m / 60, 2, 10, QLatin1Char('0'))
                 .arg(m % 60, 2, 10, QLatin1Char('0'));
    return crlfLines(l);
}

inline bool readPropagation(const QByteArray &b, const QString &)
{
    const TextLines t = splitTextLines(b, filelimits::kPropagation);
    if (t.lines.size() > filelimits::kPropagation.maxLines)
        return false;
    // The pictures are kept from case to case: what matters is that the
    // drawing stays within them, not what they show.
    static Picture pic(640, 440, propBackground());
    drawPropOverlay(pic, t.lines, propOverlayColour(1), [] { return NextHour::Add; });
    static Picture page(816, 920, QColor(255, 255, 255));
    drawPropPage(page, t.lines);
    for (const QString &l : t.lines.mid(3, 50)) {
        const PropMinute m = parsePropMinute(l);
        for (int k = 0; k < 4; ++k)
            if (!(std::fabs(m.min[size_t(k)]) <= 100 && std::fabs(m.max[size_t(k)]) <= 100))
                return false;
    }
    return true;
}

inline QByteArray validQuery()
{
    return "***\r\n5\r\n6\r\n===\r\n***\r\n7\r\n***\r\nGerman\r\nEnglish\r\n***\r\nBBC\r\n***\r\nUSA\r\n***\r\nEU\r\n";
}

inline bool readQuery(const QByteArray &b, const QString &)
{
    const TextLines t = splitTextLines(b, filelimits::kQueryIni);
    const QueryFile q = parseQueryLines(t.lines, 6);
    qsizetype items = 0;
    for (const QStringList &c : q.combos)
        items += c.size();
    return q.combos.size() == 6 && items + q.beforeFirst + q.beyondLast <= filelimits::kQueryIni.maxLines;
}

inline QByteArray validProp2prt()
{
    return "Tavorin\r\n 5130N\r\n 00007W\r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\n";
}

inline bool readProp2prt(const QByteArray &b, const QString &dir)
{
    if (!writeFile(dir + QStringLiteral("prop2prt.ini"), b))
        return false;
    for (const QString &l : readProp2prtIni(dir + QStringLiteral("prop2prt.ini")))
        if (l.size() > kShortLineMax)
            return false;
    return true;
}

inline QByteArray validLogColumns() { return "YYYYNNNYYYNNYNN\r\n"; }

inline bool readLogColumns(const QByteArray &b, const QString &dir)
{
    G.datapath = dir;
    if (!writeFile(dir + QStringLiteral("loggridformat.ini"), b))
        return false;
    return readLogColumnMask().size() <= kShortLineMax;
}

inline QByteArray validAero()
{
    QStringList l{QStringLiteral("Aero list"), QString()};
    for (int i = 0; i < 60; ++i)
        l << QStringLiteral("0%1.00 USB      NAT-%2").arg(3000 + i).arg(QChar(u'A' + i % 6)).leftJustified(39) +
                 QStringLiteral("Gander %1").arg(i);
    return crlfLines(l);
}

inline bool readAero(const QByteArray &b, const QString &dir)
{
    const QString src = dir + QStringLiteral("aerolist.txt");
    if (!writeFile(src, b))
        return false;
    for (bool network : {false, true}) {
        const QString out = dir + (network ? QStringLiteral("aero2.ftl") : QStringLiteral("aero.ftl"));
        const ConversionResult r = convertAero(src, network, out, {});
        if (!r.ok)
            continue;
        if (r.count > filelimits::kAeroSource.maxLines)
            return false;
        QFile f(out);
        if (!f.open(QIODevice::ReadOnly) || f.size() > b.size() + 64 * (r.count + 1))
            return false;
    }
    return true;
}

inline const QVector<tavtest::DbfField> &ilgFields()
{
    static const QVector<tavtest::DbfField> f = {
        {"FREQ", 'N', 9, 2},     {"UTC", 'C', 12, 0},      {"STATUS", 'C', 1, 0},  {"STATION", 'C', 30, 0},
        {"TARGET", 'C', 10, 0},  {"LANGUAGE", 'C', 20, 0}, {"POWER", 'C', 7, 0},   {"LATI", 'C', 5, 0},
        {"LONGI", 'C', 6, 0},    {"EU", 'C', 2, 0},        {"COUNTRY", 'C', 20, 0}, {"LOCATION", 'C', 20, 0}};
    return f;
}

inline QByteArray validIlg()
{
    QVector<tavtest::DbfRow> rows;
    for (int i = 0; i < 30; ++i) {
        tavtest::DbfRow r;
        r.values = {QByteArray::number(5000 + i), QByteArray("0100-0200"), QByteArray(i % 4 ? "" : "E"),
                    QByteArray("Station"), QByteArray("EU NA"), QByteArray("German"), QByteArray("500"),
                    QByteArray("5205N"), QByteArray("00445E"), QByteArray("EU"), QByteArray("Germany"),
                    QByteArray("Nauen")};
        rows << r;
    }
    return tavtest::dbaseIII(ilgFields(), rows);
}

inline bool readIlg(const QByteArray &b, const QString &dir)
{
    if (!writeFile(dir + QStringLiteral("ILGSDATA.DBF"), b))
        return false;
    DbfTable t;
    if (!t.open(dir, QStringLiteral("ILGSDATA")))
        return true;
    const qint64 records = t.recordCount();
    if (records < 0 || records > b.size())
        return false;
    const ConversionResult r = convertIlg(t, {true, true, true, true}, dir + QStringLiteral("ILGSDATA.ftl"), {});
    if (!r.ok)
        return false;
    if (r.count + r.noFrequency > records)
        return false;
    QFile f(dir + QStringLiteral("ILGSDATA.ftl"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = f.readAll().split('\n');
    if (lines.size() != r.count + 1)
        return false;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].size() != 126 || !lines[i].endsWith('\r'))
            return false;
        for (qsizetype c = 0; c + 1 < lines[i].size(); ++c)
            if (uchar(lines[i][c]) < 0x20)
                return false;
    }
    return true;
}

inline const std::vector<ToolReader> &toolReaders()
{
    static const std::vector<ToolReader> r = {
        {"broadcast list", validBdxc, [](const QByteArray &b, const QString &) { return readList<lists::BdxcList>(b, lists::BdxcList::kColumns); }, false},
        {"own list", validOwn, [](const QByteArray &b, const QString &) { return readList<lists::OwnList>(b, lists::OwnList::kColumns); }, false},
        {".320 list", validF320, [](const QByteArray &b, const QString &) { return readList<lists::F320List>(b, lists::F320List::kColumns); }, false},
        {"scratch pad", validScratchPad, readScratchPad, false},
        {"list scan", validListScan, readListScan, false},
        {"pair scan", validPairs, readPairs, false},
        {"band scan", validBand, readBand, false},
        {"propagation", validPropagation, readPropagation, false},
        {"query ini", validQuery, readQuery, false},
        {"prop2prt.ini", validProp2prt, readProp2prt, true},
        {"loggridformat.ini", validLogColumns, readLogColumns, true},
        {"aero source", validAero, readAero, true},
        {"ILG table", validIlg, readIlg, true},
    };
    return r;
}

} // namespace tavfuzz
