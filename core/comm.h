#pragma once
// The program's one serial port, `Comm1` (rxPort()), kept here below every
// window that uses it. It
// offers exactly the operations the drivers and panels need: port number,
// line settings, open/close, write raw bytes, read/count/discard waiting
// bytes, and a receive event for every arrival.
//
// The port never runs ahead of the line: a write returns only once its bytes
// have left at the configured speed. The time each byte takes on the wire is
// modelled (start bit, data bits, parity, stop bits at the baud rate), so a
// pseudo-terminal, which takes any amount at once, behaves like the real
// line; a real port is also drained. Reply waits sleep on the port's events
// with a bounding timer.
//
// A device that is gone or hung up ends the port: it is closed, `lineLost`
// is raised once, and every later operation fails at once until the next
// open; the first write tried after the loss was told raises `lineClosed`,
// once. A read or write that would block is no loss.

#include "core/replyform.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

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

    // Writes raw bytes (0..255); returns once they have left the line, true
    // when they did. False at once when the port is closed or lost: nothing
    // reached the receiver, and the caller must not act as if it had.
    virtual bool Output(const QByteArray &bytes);
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
    // Bytes an exchange took that were not its reply: while discarded bytes
    // are kept, they are handed back as discarded ones are.
    void setAside(const QByteArray &bytes);

    // ---- replies among decoded text ----
    // While the receiver streams decoded text, a reply queues behind the
    // text it had already sent: a read looks for its reply in what comes,
    // and the receiver that keeps sending is still answering.
    enum class Sighting { No, Maybe, Yes };
    enum class WaitEnd {
        Seen,   // the reply is there
        Quiet,  // what may be the reply stood `settleMs` without another byte
        Cut,    // the total bound ran out on what may be the reply
        Failed, // no reply: silence for `ms`, the total bound, a lost line
    };
    // As waitReply, but `look` tells what came, and the bound `ms` starts
    // again whenever bytes come, up to `maxMs` in all.
    WaitEnd waitReplyBehind(const std::function<Sighting()> &look, int ms, int settleMs, int maxMs);
    // Replies still owed to reads that stopped waiting while text streamed
    // in: when they come they are no text, wherever they come (inside
    // another read or between reads). Kept while discarded bytes are, until
    // they came or `keepMs` has passed.
    void oweReplies(const ReplyForm &form, int count, int keepMs);
    int owedReplies(const QByteArray &lead);
    // The replies of `lead` still owed came, or are answered for.
    void owedCame(const QByteArray &lead);
    // Removes from `text` the first of each reply still owed (of any form
    // but `except`); one whose CR ends the text only when `final`.
    // `crBefore`: the byte before the text was a CR.
    void dropOwedReplies(QByteArray &text, const QByteArray &except, bool final, bool crBefore);
    // Whether the decoded text kept or handed over so far ends in CR (so a
    // reply may stand between that CR and its LF).
    bool textEndsInCr() const;
    // The decoded text waiting, in order, without the replies still owed.
    // What may be the start of one waits for the next reading, once: a
    // reading that finds nothing new hands everything over.
    QByteArray takeText();

    // ---- the line's pace ----
    // Whether writes wait for the modelled line (on unless switched off;
    // tests that are not about timing switch it off for every port).
    static void setPacedByDefault(bool paced);
    void setPaced(bool paced) { m_paced = paced; }
    bool paced() const { return m_paced; }
    // From Settings: the baud rate and the bits one byte takes on the wire.
    int baudRate() const;
    int bitsPerByte() const;
    // Wire time of n bytes, in nanoseconds.
    qint64 wireTimeNs(qint64 bytes) const;

    // ---- waiting for a reply ----
    // Waits up to `ms` for `ready`, sleeping on the port's arrivals. False at
    // once when the port is lost, and, inside a read run that already met
    // silence, without waiting at all.
    virtual bool waitReply(const std::function<bool()> &ready, int ms);

    // A run of reads that belong together (a panel's load or update): once
    // one of them goes unanswered the rest fail at once, and at its end the
    // user is told, once until the receiver answers again, that the receiver
    // does not answer (`receiverSilent`).
    class ReadRun {
    public:
        explicit ReadRun(CommControl &port);
        ~ReadRun();
        ReadRun(const ReadRun &) = delete;
        ReadRun &operator=(const ReadRun &) = delete;

    private:
        CommControl &m_port;
    };
    bool silentInRun() const { return m_runDepth > 0 && m_runSilent; }

    // A reply came in time but in no form the receiver gives (garbage, a
    // late reply for something else): it counts as no answer, so a read run
    // fails as for silence, and says that the receiver answered wrongly.
    void rejectReply();
    // Whether the last read failed on a reply of the wrong form (rather
    // than on silence).
    bool lastReplyRejected() const { return m_lastRejected; }

    // A tool's work that tells a failed read in its own words (a memory
    // transfer, the start of a measurement): the read runs of the panel it
    // sets off meanwhile keep quiet, so the listener is told once. A loss of
    // the line during the work is the work's to tell too, since only it knows
    // where it stopped (`lossTold`). Should the work end without telling,
    // the panel's message comes at its end.
    class OwnWords {
    public:
        explicit OwnWords(CommControl &port);
        ~OwnWords();
        OwnWords(const OwnWords &) = delete;
        OwnWords &operator=(const OwnWords &) = delete;

    private:
        CommControl &m_port;
    };
    // The tool has told the failure: the panel does not tell it again until
    // the receiver answers.
    void failureTold() { m_told = true; m_pendingTell = false; }
    // The tool has told the loss of the line: `lineLostNotice` is not raised
    // for it, and what is tried later is told that the line is closed.
    void lossTold();

    // ---- the end of the line ----
    bool lost() const { return m_lost; }
    // "The receiver on COM n (device) does not answer."
    QString silenceText() const;
    // "The receiver on COM n (device) answered wrongly."
    QString wrongAnswerText() const;
    // The one message of a loss: the line was lost, and how to connect again.
    QStringList lostText() const;
    // What a tool says instead of "did not answer" while the line is lost.
    QStringList closedText() const;
    // Someone has just told the user that the line is closed: `lineClosed`
    // is not raised again for this loss.
    void noteClosedTold() { m_closedTold = true; }

    // Input kept while nobody reads it: the newest bytes up to this many.
    static constexpr int kIdleInputLimit = 4096;
    // Bytes kept for an exchange or set aside for the RTTY window.
    static constexpr int kHeldInputLimit = 65536;

signals:
    // Raised after bytes arrive (event 2 = characters received). Delivered
    // from the event loop, never from inside another port call.
    void OnComm(int commEvent);
    // The line went away; raised once per open, from the event loop, with
    // the lines of lostText().
    void lineLost(const QString &message);
    // The loss as the listener is to hear it, once: right after lineLost, or
    // for a loss during a tool's own-words work at that work's end, unless
    // the tool told it (lossTold).
    void lineLostNotice(const QString &message);
    // A read run met a receiver that does not answer (see ReadRun).
    void receiverSilent(const QString &message);
    // Something was to be sent after the loss had been told: the lines of
    // closedText(), once per loss, from the event loop.
    void lineClosed(const QString &message);

protected:
    // Queues the receive event (subclasses that supply bytes call it too).
    void scheduleEvent();
    // The port is gone: closes it and tells once.
    void loseLine();
    // Whether the device is gone or the system calls it hung up or broken
    // (`err`: the error number of the failed call, 0 when none).
    bool lineBroken(int err = 0) const;
    // A reply wait ran out (subclasses with their own waits call it).
    void noteUnanswered();
    void noteAnswered()
    {
        m_toldBeforeReply = m_told;
        m_told = false;
    }
    QByteArray m_buffer;

private:
    void pull();
    // Puts set-aside bytes back in front once no exchange runs.
    void restoreSetAside();
    void boundInput();
    // Waits until the modelled line is free (and a real port has drained).
    bool waitLineFree();
    // A write was refused because the line is lost.
    void refusedAfterLoss();

    QSerialPort m_port;
    QString m_error;
    QString m_device;
    bool m_eventPending = false;
    bool m_keepDiscarded = false;
    QByteArray m_setAside;
    struct Owed {
        ReplyForm form;
        int count = 0;
        qint64 untilMs = 0; // on Clock::monotonicMsecs
    };
    std::vector<Owed> m_owed;
    void dropExpiredOwed();
    QByteArray m_textHeld;
    // The last byte takeText handed over ends in CR.
    bool m_handedCr = false;
    // Bytes taken from the device since the port was made (a wait sees new ones).
    qint64 m_arrivals = 0;
    bool m_paced;
    bool m_isPty = false;
    QElapsedTimer m_wire;
    qint64 m_lineFreeNs = 0;
    bool m_lost = false;
    bool m_lostTold = false;
    bool m_closedTold = false;
    bool m_closedPending = false;
    int m_runDepth = 0;
    bool m_runSilent = false;
    bool m_told = false;
    bool m_toldBeforeReply = false;
    bool m_lastRejected = false;
    bool m_runRejected = false;
    int m_ownWords = 0;
    bool m_pendingTell = false;
    // The loss came during own-words work; its notice waits for that work.
    bool m_lossInOwnWords = false;
    bool m_lossHeld = false;
    bool m_lossToldByTool = false;
    void tellLoss();
    // Tells the run's failure from the event loop, between exchanges.
    void tellRunFailure();
};

// The program's one receiver port, made on first use: how drivers and panels
// reach the line without knowing any window.
CommControl &rxPort();
// Ends the receiver port; the next rxPort() is a fresh one (the welcome
// window's end in tests).
void dropRxPort();

// What a tool says when the receiver gave it no reading. Made as the tool's
// work starts (a fetch, a measurement, a clock read), so that it knows
// whether the line was lost before or during that work.
class NoAnswer {
public:
    // As the port stands now.
    NoAnswer();
    // As if the line was (or was not) lost at the start.
    explicit NoAnswer(bool lostBefore) : m_lostBefore(lostBefore) {}
    // The lines to show: `silent` (the tool's own words for a receiver that
    // did not answer) while the line is up; that the line is closed when it
    // was already lost as the work started; when it went during the work,
    // `lost` (the tool's words for where it stopped) and how to connect
    // again, or none when the tool has no such words and the port's one
    // message about the loss says it all. A reply of the wrong form is said
    // as such, in place of the first line (in the same sentence, when that
    // line goes on in the next). Lines given are the failure told (see
    // CommControl::failureTold and lossTold).
    QStringList text(const QStringList &silent, const QStringList &lost = QStringList()) const;

private:
    bool m_lostBefore;
};

} // namespace tav
