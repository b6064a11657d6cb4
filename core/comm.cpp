#include "core/comm.h"

#include "core/exchange.h"
#include "core/globals.h"
#include "core/textfile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMetaObject>

namespace tav {

CommControl::CommControl(QObject *parent) : QObject(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        pull();
    });
}

CommControl::~CommControl() { close(); }

QString CommControl::deviceForPort(int n)
{
    if (auto lines = readTextLines(resolveNoCase(G.datapath, QStringLiteral("comports.ini")), kShortLineMax)) {
        if (n >= 1 && n <= lines->size()) {
            // Device names are Linux paths: UTF-8 when they are valid UTF-8.
            QString dev = utf8IfValid(lines->at(n - 1)).trimmed();
            if (!dev.isEmpty())
                return dev;
        }
    }
    QString usb = QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
    if (QFileInfo::exists(usb))
        return usb;
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

bool CommControl::open()
{
    close();
    m_device = deviceForPort(CommPort);
    m_port.setPortName(m_device);

    const QStringList parts = Settings.split(QLatin1Char(','));
    const int baud = parts.value(0).trimmed().toInt();
    const QString parity = parts.value(1).trimmed().toUpper();
    const int dataBits = parts.value(2, QStringLiteral("8")).trimmed().toInt();
    const QString stop = parts.value(3, QStringLiteral("1")).trimmed();

    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = QStringLiteral("%1: %2").arg(m_device, m_port.errorString());
        return false;
    }
    m_port.setBaudRate(baud > 0 ? baud : 1200);
    m_port.setParity(parity == QLatin1String("E")   ? QSerialPort::EvenParity
                     : parity == QLatin1String("O") ? QSerialPort::OddParity
                     : parity == QLatin1String("M") ? QSerialPort::MarkParity
                     : parity == QLatin1String("S") ? QSerialPort::SpaceParity
                                                    : QSerialPort::NoParity);
    m_port.setDataBits(dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8);
    m_port.setStopBits(stop == QLatin1String("2") ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_buffer.clear();
    m_error.clear();
    return true;
}

void CommControl::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_buffer.clear();
    m_setAside.clear();
}

bool CommControl::isOpen() const { return m_port.isOpen(); }

void CommControl::Output(const QByteArray &bytes)
{
    if (!m_port.isOpen() || bytes.isEmpty())
        return;
    m_port.write(bytes);
    // Bounded: a stuck line must not hang the program.
    QElapsedTimer t;
    t.start();
    const qint64 bound = 2000 + qint64(bytes.size()) * 20;
    while (m_port.bytesToWrite() > 0 && t.elapsed() < bound)
        m_port.waitForBytesWritten(int(qMax<qint64>(1, bound - t.elapsed())));
}

void CommControl::pull()
{
    if (!m_port.isOpen())
        return;
    QByteArray got = m_port.readAll();
    if (!got.isEmpty()) {
        m_buffer += got;
        scheduleEvent();
    }
}

QByteArray CommControl::Input()
{
    InBufferCount();
    QByteArray out;
    out.swap(m_buffer);
    return out;
}

int CommControl::InBufferCount()
{
    if (m_port.isOpen()) {
        // Lets the port take what the operating system holds without an event loop.
        m_port.waitForReadyRead(0);
        pull();
    }
    restoreSetAside();
    return int(m_buffer.size());
}

void CommControl::clearInput()
{
    InBufferCount();
    if (m_keepDiscarded && Exchange::active())
        m_setAside += m_buffer;
    m_buffer.clear();
}

void CommControl::setKeepDiscarded(bool keep)
{
    m_keepDiscarded = keep;
    restoreSetAside();
}

void CommControl::restoreSetAside()
{
    if (m_setAside.isEmpty() || Exchange::active())
        return;
    m_buffer.prepend(m_setAside);
    m_setAside.clear();
}

void CommControl::scheduleEvent()
{
    if (m_eventPending)
        return;
    m_eventPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_eventPending = false;
            if (m_buffer.isEmpty() && m_setAside.isEmpty())
                return;
            restoreSetAside();
            // During a receiver exchange the bytes belong to the exchange; the
            // event is raised again when the exchange ends.
            if (Exchange::active()) {
                Exchange::whenDone(this, [this] {
                    if (!m_buffer.isEmpty() || !m_setAside.isEmpty())
                        scheduleEvent();
                });
                return;
            }
            emit OnComm(2);
        },
        Qt::QueuedConnection);
}

} // namespace tav
