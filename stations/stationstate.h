#pragma once
// Program-wide state of the station databases: which conversion opened the
// table picker, the record store that the ILG and aero windows share, and the
// sort key.

#include <QString>
#include <QVector>

namespace tav {

struct StationState {
    int dbfcaller = 0; // 1 the ILG conversion, 2 the aero conversion
    int ftlsortkey = 0;
};

StationState &stationState();
// Puts the station state and the shared store back to their start (tests).
void resetStationState();

} // namespace tav
