#pragma once
// The S-meter reading as the scans and measurements use it: the driver's
// S-units plus the correction for the attenuator that was in at Start. It
// lives with the signal tools, whose reader (signal/measure.h) the scans use.

#include <cstdint>

namespace tav {

// The correction in S-units for attenuator index `att` of receiver type
// `rxtype`, from the model's attenuator step and its no-attenuation index.
double attcorrection(int rxtype, int att);

// A reading corrected for the attenuator, in single precision as it is stored.
float correctedLevel(float sunits, int rxtype, int att);

} // namespace tav
