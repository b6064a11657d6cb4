#pragma once
// What the two JRC receivers (NRD-535, NRD-545) share: the command form
// (ASCII text ending in CR, decimal fields), the remote bracket that switches
// the receiver to remote ("H1") around a command and back to local ("H0"),
// the shared flags `jrcbusy`/`jrclock`, and reply collection from Comm1.
//
// Every reply wait is bounded. A receiver that does not answer still gets
// its bracket closed, `jrcbusy` is 0 again, and the read gives its neutral
// result; `lastReadOk()` tells the caller that the read failed, and a failed
// status read leaves `rxstatustext` empty.

#include "core/comm.h"
#include "drivers/receiver.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

namespace tav {

class JrcDriver : public QObject, public Receiver {
    Q_OBJECT
public:
    // How long a reply may take. At 4800 baud the longest reply (21
    // characters) needs under 50 ms; the rest is room for a slow receiver.
    static constexpr int kReplyTimeoutMs = 800;
    // The pause around each "H1"/"H0" and in the exchanges.
    static constexpr int kBracketDelayMs = 50;
    // A reply queued behind decoded text comes once that text has crossed
    // the line: the wait goes on while text keeps coming, up to this much.
    static constexpr int kReplyBehindTextMs = 30000;
    // Whether an LF follows a CR (then a line of text ended, not a reply) is
    // known by the next decoded character: 165 ms at 45 baud.
    static constexpr int kTextCharMs = 200;

    explicit JrcDriver(CommControl &port, QObject *parent = nullptr);
    ~JrcDriver() override;

    // "H1" twice when a command needs the remote and it is not already held.
    void i_on();
    // "H0" twice when the remote is neither held nor in use.
    void i_off();
    // 1 holds the receiver in remote, 0 releases it; other values change and
    // send nothing. LockChanged is raised with the value in every case but
    // a lost line, which changes nothing (false).
    bool setLockonoff(int16_t v);

    void followDial(bool on) override;
    // Whether the receiver is held in remote between commands now: held by
    // the lock, and its dial not left to the listener by dial following.
    static bool remoteHeld();
    // The driver object whose dial following is on (nullptr: none).
    static const QObject *dialFollower();
    // While the dial is followed, leaves the knob to the listener again as
    // the following's start did, after another hold took it into remote;
    // whether it reached the line (true with no following: nothing to do).
    static bool freeFollowedDial();

    // The RTTY decoder, in each model's own commands.
    // Each write tells whether it reached the line.
    virtual bool setRttyOnOff(int16_t v) = 0;
    virtual bool setRttyParameters(const QString &text) = 0;
    // A user-definable setting (RTTY unshift-on-space and error print among them).
    virtual bool setUserdefs(int16_t item, int16_t value) = 0;

    // Whether the most recent read of this object got its reply in time.
    bool lastReadOk() const { return m_readOk; }

    // Command-form fields, shared by both models.
    // The last character of the value's decimal text ("one digit").
    static QString digit(int64_t v);
    // The decimal text (format "0").
    static QString plain(int64_t v);
    // Zero-padded to `width` (format "0000"); wider values are not cut.
    static QString zeros(int64_t v, int width);
    // "-" or "+" and the zero-padded absolute value.
    static QString signedZeros(int64_t v, int width);
    // ccc: the channel as three digits (last three of channel + 1000).
    static QString ccc(int16_t channel);
    // The number a reply field holds (0 when it holds none). Positions from 1.
    static double field(const QString &reply, int from, int count = -1);
    // Whether a memory reply (its CR removed) has the form the receiver gives
    // for `channel`: "L", the channel's three digits, then "V" for an empty
    // channel or `digits` digits of settings. Anything else (a "?", a late
    // reply for another channel) must never pass for the channel's record.
    static bool memoryReplyFits(const QString &reply, int16_t channel, int digits);
    // The status exchange's reply (the memory reply of the status channel,
    // as taken): "L", the channel, `digits` digits.
    static bool statusReplyFits(const QString &reply, const QString &channel, int digits);
    // "M" and three digits.
    static bool smeterReplyFits(const QString &reply);
    // A setting read's reply: the command's letters, then (up to the CR that
    // makes `n`) digits, the first of which may be a sign.
    static bool settingReplyFits(const QString &reply, const QString &cmd, int n);

signals:
    void LockChanged(int16_t v);
    void PoweronoffChanged(int16_t v);
    void RttyonoffChanged(int16_t v);
    void AttenuatorChanged(int16_t v);
    void BandwidthChanged(int16_t v);
    void ModeChanged(int16_t v);
    void AgcspeedChanged(int16_t v);
    void BandwidthcontrolChanged(int16_t v);
    void PassbandshiftChanged(int16_t v);
    void FrequencyAChanged(double khz);
    void RxStatusChanged(const QString &text);

protected:
    // Writes the command and its CR (an empty command sends the CR alone);
    // whether it reached the line.
    bool send(const QString &cmd);
    // Runs `body` inside the remote bracket: jrcbusy 1, i_on, body, jrcbusy 0,
    // i_off. The bracket always closes, whatever the body does.
    void bracketed(const std::function<void()> &body);
    // A bracketed command without reply; whether the command reached the line.
    bool bracketedCommand(const QString &cmd);
    // A setting sent without the bracket, then a pause. The receiver takes it
    // only in remote, so while dial following leaves the receiver in local
    // it goes in a bracket of its own: it is never sent to be ignored.
    bool unbracketedSetting(const QString &cmd);
    // A setting command whose change event tells what the receiver took:
    // raised only when the command went out.
    template <class Changed> bool sendSetting(const QString &cmd, Changed changed)
    {
        const bool sent = bracketedCommand(cmd);
        if (sent)
            changed();
        return sent;
    }
    // Waits (bounded, on the port's events) until at least n characters are waiting.
    bool waitChars(int n);
    // Takes everything waiting.
    QString takeAll();
    // Waits for a reply of at least n characters and takes what is waiting.
    // While the RTTY window reads decoded text, which the receiver sends
    // unasked and at any moment, the reply is picked out of it by its form
    // (`pickReply`).
    bool awaitReply(QString &reply, int n, const ReplyForm &form);
    // The reply of `form`, with its CR, out of the decoded text that comes
    // with it; every other byte goes back to the RTTY reading, in order.
    // Replies still owed to reads that gave up come first and are dropped.
    // A read that gives up leaves its reply owed.
    bool pickReply(QString &reply, const ReplyForm &form);
    // Outside RTTY: the reply once it has n characters or its CR; false
    // and "" when it did not come in time.
    bool collectReply(QString &reply, int n);
    // Sends a read command and collects a reply of at least n characters
    // (of `form` while RTTY text streams); "" when it did not come.
    // Discards the input first.
    QString query(const QString &cmd, int n, const ReplyForm &form);
    // The memory reply: pieces until one ends in CR or the text reaches
    // `minChars`, bounded; one trailing CR removed. "" when nothing came.
    QString collectRecord(int minChars, const ReplyForm &form);
    // The forms of the replies (without their CR): a memory or status
    // channel's, the S-meter's, a setting read's (the command's letters and
    // digits to `n` characters with the CR), the clock's.
    static ReplyForm memoryForm(int16_t channel, int digits);
    static ReplyForm statusForm(const QString &channel, int digits);
    static ReplyForm smeterForm();
    static ReplyForm settingForm(const QString &cmd, int n);
    static ReplyForm clockForm();
    // The clock read shared by both models ("R0", 8 characters, the reply
    // taken after the bracket closed).
    QString clockRead();
    // Whether a read succeeded: its reply came (`answered`) and has the form
    // the receiver gives (`fits`). A reply of another form counts as no
    // answer at all, so it is reported as silence is.
    bool replyTaken(bool answered, bool fits);
    // The result of the status text: stored in `rxstatustext` ("" when failed).
    QString setStatusResult(const QString &text, bool ok);

    CommControl &m_port;
    bool m_readOk = true;
};

// The parts of the receiver interface both JRC models answer the same way,
// written once over the model's own commands (`Rx` is the model's class).
// Each model keeps what differs: its facts, its mode letters and the way a
// whole setting is read and applied.
template <class Rx> class JrcReceiver : public JrcDriver {
public:
    using JrcDriver::JrcDriver;

    bool tune(double kHz) override;
    std::optional<double> readFrequency() override;
    std::optional<float> readSmeter() override;
    std::optional<int> readAttenuator() override;
    std::optional<QString> readMemory(int n) override;
    bool writeMemory(int n, const QString &record) override;
    std::optional<QString> readClock() override;
    bool setClock(const QString &hhmmss) override;
    bool setTimerRelay(bool on) override;
    bool switchRttyOff() override;
    bool applyMemoryRecord(const QString &record, const RxShown &shown = {}) override;
    RxPresent readPresent(const RxShown &shown = {}) override;

private:
    Rx &rx() { return static_cast<Rx &>(*this); }
};

} // namespace tav
