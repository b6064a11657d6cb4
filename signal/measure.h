#pragma once
// What the S-meter, propagation and trace windows share while they measure:
// their own receiver object, the attenuator read once at Start and its
// correction, the panel's attenuator frame held still and the JRC receiver
// held in remote. end() gives everything back and may be called more than
// once, so every way a window goes (Stop, close box, the panel's closing)
// leaves the panel as it was.

#include "drivers/receiver.h"
#include "panels/mainmenu.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

namespace tav {

class MeasureSession {
public:
    // Ends a measurement after this many unanswered S-meter reads in a row.
    static constexpr int kMissesToStop = 3;

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

    // The corrected level, or nullopt when the receiver did not answer or
    // there is none. `gaveUp` becomes true after kMissesToStop misses in a row.
    std::optional<float> read(bool &gaveUp);

    bool hasReceiver() const { return m_rx != nullptr; }
    int rxtype() const { return m_rxtype; }
    int attenuator() const { return m_att; }

private:
    const QObject *m_tool = nullptr;
    std::unique_ptr<Receiver> m_rx;
    PanelEntries m_entries;
    int m_rxtype = 0;
    int m_att = 0;
    int m_misses = 0;
    bool m_measuring = false;
};

// The open panel's frequency box text ("" when no panel is open).
QString openPanelFrequencyText();

} // namespace tav
