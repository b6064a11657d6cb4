#pragma once
// The AOR AR7030 as seen from its serial port: one byte per command, the
// high nibble the operation and the low nibble its operand. The receiver
// keeps its settings in memory pages; writing a setting's bytes changes only
// memory, and the receiver acts on it when the program starts the routine
// that applies that group of settings.
//
// Operations: 0x00 no operation, 0x1a address bits 8..11, 0x2n routine n
// (14 and 15 answer one byte: signal strength, buttons), 0x3h high nibble of
// the next address or data byte, 0x4l address (16h + l, below 256), 0x5p
// page, 0x6l write 16h + l and advance, 0x7x read (answered with the byte)
// and advance by x, 0x80..0x83 lock level, 0xAn operate button n. The high
// nibble is taken as 0 again after every address or write operation.
// Anything else is logged as unknown and ignored.

#include "sim/emulator.h"

#include <array>
#include <cstdint>
#include <vector>

namespace sim {

class AR7030Emulator : public Emulator {
public:
    AR7030Emulator();

    QString model() const override { return QStringLiteral("ar7030"); }
    void feed(const QByteArray &bytes) override;
    double tunedFrequencyHz() const override;
    // "dial HZ": the tuning knob turned to HZ. "smeter VALUE": the signal
    // level in S-units (0..18) that the S-meter bytes report.
    bool control(const QString &line) override;
    QStringList controlHelp() const override;
    double attenuationDb() const override;

    // Memory as stored (pages 0, 1, 2 and 15; others do not exist).
    int pageSize(int page) const;
    uint8_t byteAt(int page, int address) const;
    void setByte(int page, int address, uint8_t value);

    // What the receiver is doing: the settings as the last routine that
    // covers them applied them.
    struct Applied {
        uint32_t word = 0;  // frequency word in use
        int mode = 0, filter = 0, pbs = 0, bfo = 0;
        int volume = 0, bass = 0, treble = 0, auxLeft = 0, auxRight = 0;
        int attenuator = 0, agc = 0, ifgain = 0, squelch = 0;
        bool power = true;
    };
    const Applied &applied() const { return m_applied; }
    int lockLevel() const { return m_lock; }
    int firmware() const { return m_firmware; }
    void setFirmware(int number);

    // The stored frequency word (page 0, 0x1A..0x1C) and conversions.
    uint32_t storedWord() const;
    static uint32_t wordForHz(double hz);
    static double hzForWord(uint32_t word);

    // The knob: stores and tunes at once, as turning the dial does.
    void dial(double hz);
    // The S-meter bytes at 0x3F/0x40 for a level in S-units.
    void setSmeter(double sunits);
    // Advances the receiver's clock (page 1, 0x02..0x04, BCD) by `seconds`.
    void advanceClock(int seconds);
    // Stores a memory channel (0..99) as the receiver keeps it.
    void storeChannel(int n, uint32_t word, int mode, int filter, bool scan, int pbs, int sqlbfo);

    // Counters for tests of strictness.
    int unknownCommands() const { return m_unknown; }
    int outsideAccesses() const { return m_outside; }

private:
    void command(uint8_t b);
    void routine(int n);
    void applyAll();
    void applyPassband();
    int signalByte() const;
    // With a band, the S-meter bytes take its level as they are read.
    void followBand();
    // Filter, shift and BFO last used in each mode (index = mode 0..7).
    struct Preferred {
        int filter = 3, pbs = 0, bfo = 0;
    };
    std::array<Preferred, 8> m_preferred{};
    std::vector<uint8_t> *pageData(int page);
    const std::vector<uint8_t> *pageData(int page) const;

    std::vector<uint8_t> m_page0, m_page1, m_page2, m_page15;
    int m_page = 0;
    int m_address = 0;
    int m_high = 0;
    int m_lock = 0;
    int m_firmware = 14;
    int m_unknown = 0;
    int m_outside = 0;
    Applied m_applied;
};

} // namespace sim
