#pragma once
// Serves an emulator on a pseudo-terminal: the program opens slavePath() as
// its serial device; the emulator is fed and answers from the master side,
// driven by the event loop so the test's own loop keeps running.
//
// Paced (setLineSpeed), the receiver takes each byte only when it has crossed
// the line at the model's speed and answers byte by byte at that speed, as the
// real set does; unpaced it takes and answers everything at once.

#include "sim/emulator.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QVector>
#include <deque>

namespace sim {

class PtyHarness : public QObject {
    Q_OBJECT
public:
    explicit PtyHarness(Emulator &emu, QObject *parent = nullptr);
    ~PtyHarness() override;

    bool ok() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // An "off" receiver takes the bytes and answers nothing.
    void setOff(bool off) { m_emu.fault = off ? Fault::Silent : Fault::None; }
    // The faults a receiver can be told to play (see Fault).
    void setFault(Fault f) { m_emu.fault = f; }
    // The line hangs up: both sides of the pseudo-terminal are closed, so the
    // program's next read or write fails as with a pulled adapter.
    void dropLine();
    bool lineDropped() const { return m_dropped; }

    // A receiver that takes nothing for a while: what the program sends
    // piles up on the line until it is full and writes would block; taken
    // again, it reads the pile.
    void setStalled(bool stalled);

    // Line speed in baud and bits per byte on the wire (start, data, parity,
    // stop); 0 baud serves at once.
    void setLineSpeed(int baud, int bitsPerByte = 10);
    // The model's own speed (1200 or 4800 baud, 8N1).
    void setPacedAtModelSpeed() { setLineSpeed(m_emu.baud()); }
    qint64 byteTimeNs() const { return m_byteNs; }

    // The harness's own commands on standard input ("silent", "garbage",
    // "wrongchannel", "normal", "hangup"); false for any other line.
    bool control(const QString &line);
    static QStringList controlHelp();

    // Replies paced at this many microseconds per byte (1200 baud is ~8333).
    void setPacingUsPerByte(int us);
    // Replies written in chunks of at most this many bytes (0: all at once),
    // with `gapMs` between chunks.
    void setChunking(int bytes, int gapMs) { m_chunk = bytes; m_chunkGapNs = qint64(gapMs) * 1000000; }

    // Everything the program sent, and when each byte arrived (ms since start).
    QByteArray received() const { return m_received; }
    QVector<qint64> receivedTimes() const { return m_times; }
    void clearReceived() { m_received.clear(); m_times.clear(); }

    // Sends bytes to the program as the receiver would on its own (dial reports, RTTY text).
    void sendToProgram(const QByteArray &bytes);
    // Bytes queued for the program but not yet written (pacing, chunking).
    int pendingOut() const { return int(m_out.size()); }

    // Reads what the master side has waiting (also run by the event loop).
    void poll();

private:
    void service();
    void arm(qint64 atNs);
    // Arms the timer for the soonest of the bytes due and the emulator's own time.
    void rearm();

    Emulator &m_emu;
    int m_master = -1;
    int m_slave = -1;
    int m_timer = -1;
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr;
    QSocketNotifier *m_ring = nullptr;
    struct InByte {
        char byte;
        qint64 dueNs;
    };
    std::deque<InByte> m_in;
    QByteArray m_out;
    qint64 m_inFreeNs = 0;   // when the receiver has taken the last byte sent
    qint64 m_outNextNs = 0;  // when the next reply byte may go
    qint64 m_feedingDueNs = -1; // while feeding: when the bytes fed had arrived
    QByteArray m_received;
    QVector<qint64> m_times;
    QElapsedTimer m_clock;
    qint64 m_byteNs = 0;
    int m_chunk = 0;
    qint64 m_chunkGapNs = 0;
    qint64 m_emuDueNs = -1;  // when the emulator has something of its own due
    bool m_dropped = false;
    bool m_stalled = false;
};

} // namespace sim
