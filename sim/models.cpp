// The emulated models. Each model adds its line here.
#include "sim/emulator.h"
#include "sim/rx320.h"
#include "sim/ar7030.h"

namespace sim {

std::unique_ptr<Emulator> createEmulator(const QString &model)
{
    const QString m = model.toLower();
    (void)m;
    if (m == QLatin1String("rx320"))
        return std::make_unique<Rx320Emulator>();
    if (m == QLatin1String("ar7030"))
        return std::make_unique<AR7030Emulator>();
    return nullptr;
}

QStringList emulatorModels()
{
    QStringList models;
    models << QStringLiteral("rx320");
    models << QStringLiteral("ar7030");
    return models;
}

} // namespace sim
