#include "signal/measure.h"

#include "core/frmWelcome.h"
#include "core/globals.h"
#include "panels/frmPanel.h"
#include "panels/jrclock.h"
#include "panels/mainmenu.h"
#include "scans/scanlevel.h"

namespace tav {

void MeasureSession::open(const QObject *tool, const PanelEntries &competingEntries)
{
    m_tool = tool;
    m_rxtype = G.goRxtype;
    m_entries = competingEntries;
    m_misses = 0;
    if (m_rxtype >= 1 && m_rxtype <= 4) {
        m_rx = makeReceiver();
        setOpenPanelEntries(m_entries, false);
    }
}

void MeasureSession::close()
{
    end();
    if (m_rxtype >= 1 && m_rxtype <= 4)
        setOpenPanelEntries(m_entries, true);
    m_rx.reset();
}

void MeasureSession::begin()
{
    m_misses = 0;
    m_att = 0;
    if (m_rx && m_rx->model().readsAttenuator()) {
        m_att = m_rx->readAttenuator().value_or(m_rx->model().attNone);
        if (frmPanel *p = frmWelcome::instance()->openPanel())
            p->setAttenuatorFrameEnabled(false);
    }
    if (m_rx)
        toolLock(m_tool, true);
    m_measuring = true;
}

void MeasureSession::end()
{
    if (!m_measuring)
        return;
    m_measuring = false;
    if (m_rx && m_rx->model().rxtype != 3)
        if (frmPanel *p = frmWelcome::instance()->openPanel())
            p->setAttenuatorFrameEnabled(true);
    toolLock(m_tool, false);
}

std::optional<float> MeasureSession::read(bool &gaveUp)
{
    gaveUp = false;
    if (!m_rx)
        return std::nullopt;
    const std::optional<float> s = m_rx->readSmeter();
    if (!s) {
        gaveUp = ++m_misses >= kMissesToStop;
        return std::nullopt;
    }
    m_misses = 0;
    return correctedLevel(*s, m_rxtype, m_att);
}

QString openPanelFrequencyText()
{
    if (frmPanel *p = frmWelcome::instance()->openPanel())
        return p->frequencyText();
    return QString();
}

} // namespace tav
