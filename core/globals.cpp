#include "core/globals.h"

namespace tav {

ProgramState G;

void resetProgramState() { G = ProgramState{}; }

} // namespace tav
