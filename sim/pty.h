#pragma once
// Serves an emulator on a pseudo-terminal: the program opens slavePath() as
// its serial device; the emulator is fed and answers from the master side,
// driven by the event loop so the test's own loop keeps running.

#include "sim/emulator.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QVector>

namespace sim {

class PtyHarness : public QObject {
    Q_OBJECT
public:
    explicit PtyHarness(Emulator &emu, QObject *parent = nullptr);
    ~PtyHarness() override;

    bool ok() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // An "off" receiver takes the bytes and answers nothing.
    void setOff(bool off) { m_off = off; }
    // Replies paced at this many microseconds per byte (1200 baud is ~8333).
    void setPacingUsPerByte(int us) { m_pacingUs = us; }
    // Replies written in chunks of at most this many bytes (0: all at once),
    // with `gapMs` between chunks.
    void setChunking(int bytes, int gapMs) { m_chunk = bytes; m_chunkGapMs = gapMs; }

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
    void writeSome();

    Emulator &m_emu;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_writer;
    QByteArray m_out;
    QByteArray m_received;
    QVector<qint64> m_times;
    QElapsedTimer m_clock;
    bool m_off = false;
    int m_pacingUs = 0;
    int m_chunk = 0;
    int m_chunkGapMs = 0;
};

} // namespace sim
