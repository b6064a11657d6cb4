#include "stations/stationstate.h"

namespace tav {

StationState &stationState()
{
    static StationState s;
    return s;
}

void resetStationState() { stationState() = StationState{}; }

} // namespace tav
