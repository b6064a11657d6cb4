#pragma once
// What the S-meter, propagation and trace windows share while they measure:
// their own receiver object, the attenuator read once at Start and its
// correction, the panel's attenuator frame held still and the JRC receiver
// held in remote. end() gives everything back and may be called more than
// once, so every way a window goes (Stop, close box, the panel's closing)
// leaves the panel as it was.

#include "core/comm.h"
#include "drivers/receiver.h"
#include "hub/hub.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace tav {

// The one S-meter reading of the scans and the signal windows: the level
// corrected for the attenuator read at Start; three unanswered reads in a
// row end the work with "The receiver does not answer."; a line lost during
// the work ends it at the next reading without a message of its own, since
// the panel already tells that the line was lost; work started on a line
// lost before says that the line is closed.
class SmeterReader {
public:
    static constexpr int kMissesToStop = 3;

    // `title`: the caption of the window's "does not answer" message.
    explicit SmeterReader(QString title) : m_title(std::move(title)) {}

    // The window's receiver object (nullptr for No RX) and its type.
    void attach(Receiver *rx, int rxtype);
    // Start: the attenuator is read once for the correction (none when the
    // receiver does not say) and the count of misses begins again.
    void begin();
    // Continue: the count of misses begins again, the correction stays.
    void resetMisses();

    struct Reading {
        std::optional<float> level; // nullopt: no answer this time
        bool stopped = false;       // the work was ended through `stop`
    };
    // Reads the level (0 without a receiver). When the work has to end,
    // `stop` is called first, then the message (if any) is shown.
    Reading read(const std::function<void()> &stop);

    int attenuator() const { return m_att; }

private:
    QString m_title;
    Receiver *m_rx = nullptr;
    int m_rxtype = 0;
    int m_att = 0;
    int m_misses = 0;
    NoAnswer m_noAnswer{false};
};

class MeasureSession {
public:
    // Ends a measurement after this many unanswered S-meter reads in a row.
    static constexpr int kMissesToStop = SmeterReader::kMissesToStop;

    // `title`: the caption of the window's messages.
    explicit MeasureSession(QString title) : m_reader(std::move(title)) {}

    // At load: the window's own receiver object (none for No RX) and the
    // panel's competing menu entries switched off.
    void open(const QObject *tool, const PanelEntries &competingEntries);
    // At unload: ends a measurement, gives back the entries, drops the object.
    void close();

    // Start: attenuator read, frame disabled, JRC hold.
    void begin();
    // Stop: frame enabled, hold released. Nothing when not measuring.
    void end();
    bool measuring() const { return m_measuring; }

    // The corrected level through the shared reader (see SmeterReader::read).
    SmeterReader::Reading read(const std::function<void()> &stop) { return m_reader.read(stop); }

    bool hasReceiver() const { return m_rx != nullptr; }
    int rxtype() const { return m_rxtype; }
    int attenuator() const { return m_reader.attenuator(); }

private:
    const QObject *m_tool = nullptr;
    std::unique_ptr<Receiver> m_rx;
    SmeterReader m_reader;
    PanelEntries m_entries;
    int m_rxtype = 0;
    bool m_measuring = false;
    // A failed read is told by the measurement when it stops on it, not
    // also by the panel its hold refreshes.
    std::optional<CommControl::OwnWords> m_ownWords;
};

} // namespace tav
