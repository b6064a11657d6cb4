#include "sim/emulator.h"

namespace sim {

bool Emulator::control(const QString &) { return false; }

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
