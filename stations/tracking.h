#pragma once
// The tracking engine: the stations of a database near the tuned frequency,
// in two lists (on the air now, or all), shown page by page in four column
// views, with the distance and bearing from the listener.

#include "stations/stationstore.h"

#include <QString>
#include <QVector>
#include <array>

namespace tav {

// Distance and bearing from the listener (`lat` ddmmN/S, `lon` dddmmE/W) to
// the transmitter of a record (columns 78-82 and 84-89): "00340 km 261".
// A listener position shorter than three characters gives 12 blanks; a record
// without valid coordinates gives its columns 78-89 unchanged.
QString Distbearing(const QString &rec, const QString &lat, const QString &lon);

class TrackEngine {
public:
    static constexpr int kMaxLine = 175;
    static constexpr int kPageLines = 25;
    static constexpr int kPages = 7;
    enum View { LatLon = 0, DisDir = 1, Ctry = 2, Loc = 3 };

    // The loaded records (126 bytes each) with their frequencies and times.
    StationRecords trackrecs;
    int trackcount = -1;
    int trackhit = 0;
    // The current list and its last line (-1 empty).
    QVector<QString> trackshow;
    int lastLine = -1;

    void setRecords(StationRecords recs);
    void clear();

    // The binary search for `rxfreqnow`; false (nothing found, nothing to
    // change) for fewer than three records.
    bool search(double rxfreqnow);
    // Builds the list around the hit: every record closer than `catchRange`
    // kHz, with `hitsOnly` those on the air at `now` (hhmm); the separator
    // stands before the first record above the tuned frequency.
    void build(bool hitsOnly, double rxfreqnow, double catchRange, int now);
    // How many page buttons the list needs (0 for an empty list).
    int pageCount() const;

    struct Line {
        QString text;
        unsigned rgb; // 0xRRGGBB
    };
    // The 25 lines of page `page` as shown.
    std::array<Line, kPageLines> page(int page, bool hitsView, View view, int now) const;

    static const QString &separator();
    static constexpr unsigned kBackground = 0xFFFFC0, kOnAir = 0xFFFF00, kTarget = 0x00FF00;

private:
    QVector<double> m_freq;
    QVector<int> m_start, m_end;
};

} // namespace tav
