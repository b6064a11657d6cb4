#include "signal/smeterlevel.h"

#include "drivers/receiver.h"

namespace tav {

double attcorrection(int rxtype, int att) { return rxModel(rxtype).attCorrection(att); }

float correctedLevel(float sunits, int rxtype, int att)
{
    return float(sunits + attcorrection(rxtype, att));
}

} // namespace tav
