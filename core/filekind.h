#pragma once
// The kinds of file the program loads and saves. Each kind has its folder
// under the data path, its name prefix and pattern, and a default name for a
// new file (see the table in core/filekinds.cpp); the per-kind settings
// (current name, folder) are kept in arrays indexed by the kind.

#include <array>
#include <cstddef>

namespace tav {

enum class FileKind : int {
    SourceDb,         // a station database being converted (the locate dialog)
    Bdxc,             // BDXC schedules
    Own,              // own frequency lists
    StationList,      // converted station lists (.FTL), ILG or aero
    Log,              // the logbook
    Tracking,         // the station list the tracking window follows (.FTL)
    BandScan,         // band scan results
    Propagation,      // propagation recordings
    Memories,         // receiver memory images
    Scratchpad,       // the frequency scratchpad
    F320,             // .320 frequency files
    ScanList,         // frequency lists to scan
    ScanPairs,        // frequency pairs to scan
    Rtty,             // RTTY captures
    PropagationPrint, // propagation recordings read for printing
    TimerPrograms,    // receiver timer programs
};
inline constexpr std::size_t kFileKindCount = 16;

// The station database a station list holds (kind StationList has a reader
// for each).
enum class StationDb : int { None, Ilg, Aero };

// Every kind, in table order.
inline constexpr std::array<FileKind, kFileKindCount> allFileKinds = {
    FileKind::SourceDb, FileKind::Bdxc,        FileKind::Own,       FileKind::StationList,
    FileKind::Log,      FileKind::Tracking,    FileKind::BandScan,  FileKind::Propagation,
    FileKind::Memories, FileKind::Scratchpad,  FileKind::F320,      FileKind::ScanList,
    FileKind::ScanPairs, FileKind::Rtty,       FileKind::PropagationPrint, FileKind::TimerPrograms};

// A value for each file kind.
template <class T> struct PerFileKind {
    std::array<T, kFileKindCount> values{};
    T &operator[](FileKind k) { return values[std::size_t(k)]; }
    const T &operator[](FileKind k) const { return values[std::size_t(k)]; }
    auto begin() { return values.begin(); }
    auto end() { return values.end(); }
    auto begin() const { return values.begin(); }
    auto end() const { return values.end(); }
};

} // namespace tav
