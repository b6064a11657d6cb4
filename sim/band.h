#pragma once
// What an antenna hears across the short-wave band, for the emulators'
// S-meters: a noise floor, carriers standing above it, and slow fading.
// Levels are in S-units (6 dB each, S9 = 9) at the receiver's input; each
// model turns them into its own meter reading.
//
// Everything random is drawn from the seed and the carrier's frequency, never
// from a running generator, so a band with the same seed and carriers gives
// the same levels at the same times whatever order they are asked in.
// The band keeps its own time: it runs from the band's making, or stands
// where setTime put it (tests step it).

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace sim {

class Band {
public:
    explicit Band(uint64_t seed = 1);

    struct Carrier {
        double kHz;
        double sunits; // strength before fading
    };
    // A carrier at kHz; one within 0.1 kHz of it takes the new strength.
    void setCarrier(double kHz, double sunits);
    // The same at the strength this band gives that frequency (S7 to S9+20 dB).
    void addCarrier(double kHz) { setCarrier(kHz, defaultStrength(kHz)); }
    bool removeCarrier(double kHz);
    const QList<Carrier> &carriers() const { return m_carriers; }
    double defaultStrength(double kHz) const;

    void setNoiseFloor(double sunits) { m_noise = sunits; }
    double noiseFloor() const { return m_noise; }
    // Off: no fading and no flicker of the noise, the level depends on the
    // frequency alone.
    void setFading(bool on) { m_fading = on; }
    bool fading() const { return m_fading; }

    // The band's clock in seconds.
    double seconds() const;
    // Stops the clock at `s`; it stays there until set again.
    void setTime(double s);

    // The level a receiver tuned to `hz` hears now, and at a given time.
    double level(double hz) const { return levelAt(hz / 1000.0, seconds()); }
    double levelAt(double kHz, double seconds) const;

    // Carriers at the frequencies the lists and station files in a data
    // directory name (scan, pair and scratch-pad lists, broadcast, own and
    // ".320" lists, memory files, logbooks, timer programs, propagation files
    // and the station files in RX2DB); returns how many frequencies it found.
    int addCarriersFrom(const QString &dataDir);
    // Those frequencies in kHz, each once, in ascending order.
    static QList<double> listedFrequencies(const QString &dataDir);

    // Commands a person or script gives the band ("band", "carrier KHZ S",
    // "noise S", "fading on|off"); "band" itself is the emulator's. False for
    // any other line or a value out of range.
    bool control(const QString &line);
    static QStringList controlHelp();

private:
    double fade(const Carrier &c, double t) const;
    double flicker(double kHz, double t) const;
    double unit(uint64_t key, int draw) const; // 0 <= u < 1

    uint64_t m_seed;
    QList<Carrier> m_carriers;
    double m_noise = 2.5;
    bool m_fading = true;
    bool m_stopped = false;
    double m_time = 0;
    QElapsedTimer m_run;
};

} // namespace sim
