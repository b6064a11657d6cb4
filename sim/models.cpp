// The emulated models. Each model adds its line here.
#include "sim/emulator.h"
#include "sim/rx320.h"

namespace sim {

std::unique_ptr<Emulator> createEmulator(const QString &model)
{
    const QString m = model.toLower();
    (void)m;
    if (m == QLatin1String("rx320"))
        return std::make_unique<Rx320Emulator>();
    return nullptr;
}

QStringList emulatorModels()
{
    QStringList models;
    models << QStringLiteral("rx320");
    return models;
}

} // namespace sim
