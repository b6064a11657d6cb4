#include "scans/scanlevel.h"

namespace tav {

double attcorrection(int rxtype, int att)
{
    switch (rxtype) {
    case 1: return (att - 1) * 10.0 / 6;
    case 2:
    case 4: return att * 20.0 / 6;
    default: return 0;
    }
}

float correctedLevel(float sunits, int rxtype, int att)
{
    return float(sunits + attcorrection(rxtype, att));
}

} // namespace tav
