#pragma once
// Driver of the AOR AR7030. Every setting lives in the receiver's memory and
// is read back on demand; the driver keeps nothing. Each byte sent is one
// command: high nibble the operation, low nibble its operand. Only 0x71 (read)
// is answered, with one byte, waited for at most 300 ms.
//
// Writes of panel settings raise <Name>Changed last, after every byte is
// sent, with the value the caller set (clamped into its field where the field
// is a nibble or a byte). Memory and clock writes raise nothing. Every write
// tells whether its bytes reached the line; one that did not (the line was
// lost) raises nothing, so nothing shows a setting the receiver never got.
// A level (volume, line, bass, treble) is written only after the byte it
// shares was read: unanswered, nothing is sent and the write is not taken,
// and the silence is told once, as a read run tells it.

#include "core/comm.h"
#include "drivers/receiver.h"

#include <QObject>
#include <QString>
#include <cstdint>

namespace tav {

class clsAR7030 : public QObject, public Receiver {
    Q_OBJECT
public:
    explicit clsAR7030(CommControl &port, QObject *parent = nullptr);

    // The receiver's own tuning range in kHz (what InitAR7030 puts into
    // the loaded model's range). Nothing outside it is ever sent.
    static constexpr double kFreqMin = 10.0;
    static constexpr double kFreqMax = 32016.0;
    static constexpr int kLastChannel = 99;
    // The wait for one answer byte.
    static constexpr int kReadTimeoutMs = 300;
    // The frequency word: written with this factor, read back with a divisor
    // that differs in its last digit (the receiver's firmware habit, kept so
    // read-back values match the receiver's own display).
    static constexpr double kWriteFactor = 376.6352228;
    static constexpr double kReadDivisor = 376.635223;

    // One byte from the current address; 0 when none came within 300 ms
    // (`answered`, when given, tells the two apart).
    int readbyte(bool *answered = nullptr);
    // Whether the last byte read was answered: a 0 from a read without an
    // answer is no value and must never be shown or written back as one.
    bool lastReadOk() const { return m_lastReadOk; }
    // Starts routine 0 (reset).
    bool Reset();
    // The 8-character ident from page 15; characters 6 and 7 are the
    // firmware number. A byte that never came reads as character 0.
    QString Firmware(bool *answered = nullptr);

    int PowerOnOff();
    bool setPowerOnOff(int v);      // 1 on, 0 off; anything else sends nothing
    int Attenuator(bool *answered = nullptr);
    bool setAttenuator(int v);      // 0..5
    int Bandwidth();
    bool setBandwidth(int v);       // filter 1..6
    int Mode(bool *answered = nullptr);
    bool setMode(int v);            // 1 AM .. 7 USB
    int Agcspeed();
    bool setAgcspeed(int v);        // 0 fast, 1 medium, 2 slow, 3 off
    double FrequencyA(bool *answered = nullptr); // kHz
    bool setFrequencyA(double kHz); // kFreqMin..kFreqMax, else nothing is sent
    QString Installedfilter(int n); // n = 1..6: BCD width "2.4", "0.0" for none
    int Volume();
    bool setVolume(int v);
    int Leftauxlevel();
    bool setLeftauxlevel(int v);
    int Rightauxlevel();
    bool setRightauxlevel(int v);
    int Bass();
    bool setBass(int v);
    int Treble();
    bool setTreble(int v);
    int PassBandShift();
    bool setPassBandShift(int v);   // raw byte 0..255 (signed two's complement)
    int Ifgain();
    bool setIfgain(int v);
    int Squelch();
    bool setSquelch(int v);         // raw byte 0..255
    int Beatfreqosc();
    bool setBeatfreqosc(int v);     // raw byte 0..255 (signed two's complement)
    float Smeter(bool *answered = nullptr); // S-units 0..18

    // Memory channel n (0..99) as a 35-column memory record. A channel whose
    // frequency lies outside the receiver's range reads as the empty record.
    // `answered`, when given, is false when any byte of the channel never came
    // (the record is then not the receiver's and must not be kept).
    QString Memory(int n, bool *answered = nullptr);
    // Stores a record in channel n. "XXX" records, and records whose
    // frequency lies outside the receiver's range, store the empty channel.
    bool setMemory(int n, const QString &record);

    // The receiver's clock as "hh:mm:ss".
    QString RxClock(bool *answered = nullptr);
    bool setRxClock(const QString &hhmmss);

    // The receiver interface.
    const RxModel &model() const override;
    bool tune(double kHz) override;
    std::optional<double> readFrequency() override;
    std::optional<QString> readModeLetter() override;
    std::optional<ModeSetting> setModeLetter(const QString &letter) override;
    std::optional<float> readSmeter() override;
    std::optional<int> readAttenuator() override;
    std::optional<QString> readMemory(int n) override;
    QString memoryReplyProblem() const override { return m_memoryProblem; }
    bool writeMemory(int n, const QString &record) override;
    std::optional<QString> readClock() override;
    bool setClock(const QString &hhmmss) override;
    std::optional<QString> firmware() override;
    bool setLineOutput(int level) override;
    int presetLineLevel() const override;
    bool applyMemoryRecord(const QString &record, const RxShown &shown = {}) override;
    std::optional<RxSetting> readSetting() override;
    bool applySetting(const RxSetting &s, const RxShown &shown = {}) override;
    RxPresent readPresent(const RxShown &shown = {}) override;

signals:
    void PoweronoffChanged(int v);
    void AttenuatorChanged(int v);
    void BandwidthChanged(int v);
    void ModeChanged(int v);
    void AgcspeedChanged(int v);
    void FrequencyAChanged(double kHz);
    void VolumeChanged(int v);
    void BassChanged(int v);
    void TrebleChanged(int v);
    void PassbandshiftChanged(int v);
    void IfgainChanged(int v);
    void SquelchChanged(int v);
    void BeatfreqoscChanged(int v);
    void LeftauxlevelChanged(int v);
    void RightauxlevelChanged(int v);

public:
    // Command coding, exposed for the emulator's tests and the byte-exact
    // tests. Operands are masked to their 4 bits so a value can never turn
    // into another operation.
    static QByteArray address(int page, int addr);     // 0x5p 0x3h 0x4l
    static QByteArray addressNoPage(int addr);         // 0x3h 0x4l
    static QByteArray bytePair(int v);                 // 0x3h 0x6l, v held in 0..255
    static QByteArray wordNibbles(uint32_t word);      // six nibbles, 0x30/0x60 alternating
    static uint32_t frequencyWord(double kHz);
    // The frequency a stored word stands for. The word sent for the bottom of
    // the range reads back as the bottom: the read divisor would put it at
    // 9.999 kHz, outside the range every reader checks.
    static double wordKHz(uint32_t word);

private:
    bool send(const QByteArray &bytes);
    int readAt(int page, int addr, bool *answered = nullptr);
    int readLevel(int page, int addr);
    bool writeLevel(int addr, int level, int mask);
    int routineAudio() const;   // 0x24, or 0x25 from firmware 14
    int routineRfIf() const;    // 0x24, or 0x26 from firmware 14

    CommControl &m_port;
    bool m_lastReadOk = true;
    // The last channel read gave no mode of the receiver: named by its own
    // number, which the record's one digit cannot always hold.
    QString m_memoryProblem;
};

// Fills the program's name tables for this model's panel.
void InitAR7030();

} // namespace tav
