#include "panels/nrd535text.h"

#include <algorithm>

namespace tav {

namespace {
int digitAt(const QString &s, int pos) // positions from 1
{
    if (pos > s.size())
        return -1;
    const QChar c = s.at(pos - 1);
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.digitValue() : -1;
}
} // namespace

Nrd535Status parseNrd535Status(const QString &status)
{
    Nrd535Status st;
    st.attenuator = digitAt(status, 2);
    st.bandwidth = digitAt(status, 3);
    st.mode = digitAt(status, 4);
    st.agc = digitAt(status, 13);
    qint64 hz = 0;
    bool all = status.size() >= 12;
    for (int p = 5; all && p <= 12; ++p) {
        const int d = digitAt(status, p);
        if (d < 0)
            all = false;
        else
            hz = hz * 10 + d;
    }
    if (all)
        st.khz = double(hz) / 1000.0;
    return st;
}

QString nrd535AttenuatorText(int v)
{
    if (v < 0 || v > 1)
        return QStringLiteral("?");
    return nrd535NumberText(v * -20, -20, 0);
}

QString nrd535NameText(int v, int hi, const QString &name)
{
    if (v < 0 || v > hi || name.isEmpty())
        return QStringLiteral("?");
    return name;
}

QString nrd535NumberText(int v, int lo, int hi)
{
    if (v < lo || v > hi)
        return QStringLiteral("?");
    return v < 0 ? QString::number(v) : QLatin1Char(' ') + QString::number(v);
}

int nrd535PbsKey(PbsKey key, int value)
{
    switch (key) {
    case PbsKey::Up: return value < 1951 ? value + 50 : 2000;
    case PbsKey::Down: return value >= -1950 ? value - 50 : -2000;
    case PbsKey::Zero: return 0;
    }
    return value;
}

std::optional<int> nrd535BwcKey(int fkey, const QString &filter, int value, int lo, int hi)
{
    const bool wid = filter == QLatin1String("Wid");
    const bool inr = filter == QLatin1String("Int");
    if (!wid && !inr)
        return std::nullopt;
    const int narrowest = wid ? 2000 : 500;
    const int widest = wid ? 5500 : 2200;
    const int stepSize = wid ? 200 : 100;
    int v = value;
    switch (fkey) {
    case 1: v = narrowest; break;
    case 2: v = value >= narrowest + stepSize ? value - stepSize : narrowest; break;
    case 3: v = value < widest - stepSize + 1 ? value + stepSize : widest; break;
    case 4: v = widest; break;
    default: return std::nullopt;
    }
    return std::clamp(v, std::min(lo, hi), std::max(lo, hi));
}

} // namespace tav
