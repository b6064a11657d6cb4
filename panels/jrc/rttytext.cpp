#include "panels/jrc/rttytext.h"
#include "drivers/receiver.h"

namespace tav {

QStringList RttyLines::take(const QString &chunk)
{
    QStringList done;
    for (const QChar c : chunk) {
        if (c == QLatin1Char('\r'))
            continue;
        if (c == QLatin1Char('\n')) {
            // The CR LF that follows a full line ends no second, empty one.
            if (m_full && m_current.isEmpty())
                m_full = false;
            else
                complete(done);
            continue;
        }
        m_current += upper(QString(c));
        m_full = false;
        if (m_current.size() >= kWidth) {
            complete(done);
            m_full = true;
        }
    }
    m_lines[kLines - 1] = m_current;
    return done;
}

void RttyLines::complete(QStringList &done)
{
    done << m_current;
    for (int i = 1; i < kLines - 1; ++i)
        m_lines[i - 1] = m_lines[i];
    m_lines[kLines - 2] = m_current;
    m_lines[kLines - 1].clear();
    m_current.clear();
    m_full = false;
}

void RttyLines::clear()
{
    for (QString &l : m_lines)
        l.clear();
    newLine();
}

QString RttyLines::upper(const QString &s)
{
    QString out = s;
    for (QChar &c : out) {
        const QChar u = c.toUpper();
        if (u.unicode() <= 0xFF)
            c = u;
    }
    return out;
}

namespace rttycodes {

namespace {
const RttyCodes &codes(int rxtype) { return rxModel(rxtype).rttyCodes; }
} // namespace

QString startParameters(int rxtype)
{
    return codes(rxtype).reversedFirst ? QStringLiteral("5011") : QStringLiteral("5010");
}

QString baudCaption(int index)
{
    static const char *c[] = {"45", "50", "75"};
    return (index >= 0 && index < 3) ? QLatin1String(c[index]) : QString();
}

QString shiftCaption(int index)
{
    static const char *c[] = {"170", "425", "850"};
    return (index >= 0 && index < 3) ? QLatin1String(c[index]) : QString();
}

QString polarityCaption(int rxtype, int index)
{
    const bool normalFirst = !codes(rxtype).reversedFirst;
    if (index == 0)
        return normalFirst ? QStringLiteral("Nor.") : QStringLiteral("Rev.");
    if (index == 1)
        return normalFirst ? QStringLiteral("Rev.") : QStringLiteral("Nor.");
    return QString();
}

QString baudCode(int rxtype, int index)
{
    static const char *c535[] = {"65", "50", "00"};
    if (index < 0 || index > 2)
        return QString();
    return codes(rxtype).baudAsRate ? baudCaption(index) : QLatin1String(c535[index]);
}

QString withBaud(const QString &params, int rxtype, int index)
{
    const QString code = baudCode(rxtype, index);
    if (code.isEmpty())
        return params;
    return code + params.mid(2);
}

QString withShift(const QString &params, int index)
{
    if (index < 0 || index > 2)
        return params;
    return params.left(2) + QString::number(index) + params.mid(3);
}

QString withPolarity(const QString &params, int index)
{
    if (index < 0 || index > 1)
        return params;
    return params.left(3) + QString::number(index) + params.mid(4);
}

QString baudText(const QString &params, int rxtype)
{
    const QString code = params.left(2);
    for (int i = 0; i < 3; ++i)
        if (baudCode(rxtype, i) == code)
            return baudCaption(i);
    return QString();
}

QString shiftText(const QString &params) { return shiftCaption(params.mid(2, 1).toInt()); }

QString polarityText(const QString &params, int rxtype)
{
    const QString caption = polarityCaption(rxtype, params.mid(3, 1).toInt());
    return caption.endsWith(QLatin1Char('.')) ? caption.chopped(1) : caption;
}

} // namespace rttycodes

QStringList rttyStartLines(const QString &lt, const QString &utc, const QString &frequency, const QString &params,
                           int rxtype)
{
    return {QStringLiteral(" "), QStringLiteral("Start at LT : ") + lt + QStringLiteral("   UTC : ") + utc,
            QStringLiteral("Freq : ") + frequency + QStringLiteral("  Bd/shift/pol : ")
                + rttycodes::baudText(params, rxtype) + QLatin1Char('/') + rttycodes::shiftText(params)
                + QLatin1Char('/') + rttycodes::polarityText(params, rxtype),
            QStringLiteral(" ")};
}

QStringList rttyStopLines(const QString &lt, const QString &utc)
{
    return {QStringLiteral(" "), QStringLiteral("Stop at LT : ") + lt + QStringLiteral("   UTC : ") + utc,
            QStringLiteral(" ")};
}

bool appendCaptureLines(QFile &file, const QStringList &lines)
{
    if (!file.isOpen())
        return false;
    QByteArray bytes;
    for (const QString &l : lines)
        bytes += l.toLatin1() + "\r\n";
    const bool ok = file.write(bytes) == bytes.size();
    return file.flush() && ok;
}

} // namespace tav
