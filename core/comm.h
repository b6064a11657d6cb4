#pragma once
// The program's one serial port, `Comm1`, owned by the welcome window. It
// offers exactly the operations the drivers and panels need: port number,
// line settings, open/close, write raw bytes, read/count/discard waiting
// bytes, and a receive event for every arrival.

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

namespace tav {

class CommControl : public QObject {
    Q_OBJECT
public:
    explicit CommControl(QObject *parent = nullptr);
    ~CommControl() override;

    // "COM n": 1..5
    int CommPort = 1;
    // "1200,N,8,1"
    QString Settings = QStringLiteral("1200,N,8,1");

    // The device that port number n opens: line n of "comports.ini" in
    // datapath when that names one, else /dev/ttyUSB{n-1} when it exists,
    // else /dev/ttyS{n-1}.
    static QString deviceForPort(int n);

    // Opens the device for CommPort with Settings. On failure returns false;
    // lastError() then names the device and the reason.
    virtual bool open();
    virtual void close();
    virtual bool isOpen() const;
    QString lastError() const { return m_error; }
    QString deviceName() const { return m_device; }

    // Writes raw bytes (0..255); they are handed to the line before return.
    virtual void Output(const QByteArray &bytes);
    // Takes every waiting byte.
    virtual QByteArray Input();
    // Number of waiting bytes; sees bytes that arrived even while no event
    // loop has run since.
    virtual int InBufferCount();
    // Discards every waiting byte.
    virtual void clearInput();

    // While set, the bytes a receiver exchange discards are not lost but set
    // aside and handed back, ahead of any newer byte, once the exchange has
    // ended. The RTTY window sets it while it reads the decoded text, which
    // the receiver sends unasked and which must survive a status read.
    void setKeepDiscarded(bool keep);
    bool keepDiscarded() const { return m_keepDiscarded; }

signals:
    // Raised after bytes arrive (event 2 = characters received). Delivered
    // from the event loop, never from inside another port call.
    void OnComm(int commEvent);

protected:
    // Queues the receive event (subclasses that supply bytes call it too).
    void scheduleEvent();
    QByteArray m_buffer;

private:
    void pull();
    // Puts set-aside bytes back in front once no exchange runs.
    void restoreSetAside();

    QSerialPort m_port;
    QString m_error;
    QString m_device;
    bool m_eventPending = false;
    bool m_keepDiscarded = false;
    QByteArray m_setAside;
};

} // namespace tav
