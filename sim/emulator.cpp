#include "sim/emulator.h"

#include <algorithm>

namespace sim {

bool Emulator::control(const QString &line)
{
    if (!m_band)
        return false;
    if (line.trimmed() == QLatin1String("band")) {
        m_levelSet = false;
        note(QStringLiteral("smeter: follows the band"));
        return true;
    }
    return m_band->control(line);
}

std::optional<double> Emulator::bandLevel() const
{
    if (!m_band || m_levelSet)
        return std::nullopt;
    return std::max(0.0, m_band->level(tunedFrequencyHz()) - attenuationDb() / 6.0);
}

QByteArray Emulator::garbled(const QByteArray &bytes)
{
    QByteArray out(bytes.size(), '?');
    if (bytes.endsWith('\r'))
        out[out.size() - 1] = '\r';
    return out;
}

QString readable(const QByteArray &bytes)
{
    QString out;
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '<')
            out += QLatin1Char(char(c));
        else
            out += QStringLiteral("<%1>").arg(c, 2, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace sim
