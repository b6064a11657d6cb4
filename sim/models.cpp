// The emulated models. Each model adds its line here.
#include "sim/emulator.h"
#include "sim/rx320.h"
#include "sim/ar7030.h"
#include "sim/jrcsim.h"

namespace sim {

std::unique_ptr<Emulator> createEmulator(const QString &model)
{
    const QString m = model.toLower();
    (void)m;
    if (m == QLatin1String("rx320"))
        return std::make_unique<Rx320Emulator>();
    if (m == QLatin1String("ar7030"))
        return std::make_unique<AR7030Emulator>();
    if (m == QLatin1String("nrd535"))
        return std::make_unique<Nrd535Emulator>();
    if (m == QLatin1String("nrd545"))
        return std::make_unique<Nrd545Emulator>();
    return nullptr;
}

QStringList emulatorModels()
{
    QStringList models;
    models << QStringLiteral("rx320");
    models << QStringLiteral("ar7030");
    models << QStringLiteral("nrd535") << QStringLiteral("nrd545");
    return models;
}

} // namespace sim
