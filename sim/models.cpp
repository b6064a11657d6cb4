// The emulated models. Each model adds its line here.
#include "sim/emulator.h"

namespace sim {

std::unique_ptr<Emulator> createEmulator(const QString &model)
{
    const QString m = model.toLower();
    (void)m;
    return nullptr;
}

QStringList emulatorModels() { return {}; }

} // namespace sim
