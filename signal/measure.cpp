#include "signal/measure.h"

#include "core/comm.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/ui.h"
#include "drivers/receiver.h"
#include "signal/smeterlevel.h"

namespace tav {

void SmeterReader::attach(Receiver *rx, int rxtype)
{
    m_rx = rx;
    m_rxtype = rxtype;
    m_att = 0;
    m_misses = 0;
}

void SmeterReader::resetMisses()
{
    m_misses = 0;
    m_noAnswer = NoAnswer();
}

void SmeterReader::begin()
{
    m_misses = 0;
    m_noAnswer = NoAnswer();
    m_att = 0;
    if (const RxModel &model = rxModel(m_rxtype); model.readsAttenuator())
        m_att = m_rx ? m_rx->readAttenuator().value_or(model.attNone) : model.attNone;
}

SmeterReader::Reading SmeterReader::read(const std::function<void()> &stop)
{
    Reading r;
    if (!m_rx) {
        r.level = 0.0f;
        return r;
    }
    if (const std::optional<float> s = m_rx->readSmeter()) {
        m_misses = 0;
        r.level = correctedLevel(*s, m_rxtype, m_att);
        return r;
    }
    if (rxPort().lost()) {
        stop();
        r.stopped = true;
        if (const QStringList said = m_noAnswer.text({}); !said.isEmpty())
            msgBox(said, MsgIcon::Exclamation, m_title);
        return r;
    }
    if (++m_misses < kMissesToStop)
        return r;
    stop();
    r.stopped = true;
    msgBox(m_noAnswer.text({QStringLiteral("The receiver does not answer.")}), MsgIcon::Exclamation, m_title);
    return r;
}

void MeasureSession::open(const QObject *tool, const PanelEntries &competingEntries)
{
    m_tool = tool;
    m_rxtype = goModel().rxtype;
    m_entries = competingEntries;
    if (!rxModel(m_rxtype).isNone()) {
        m_rx = makeReceiver();
        setOpenPanelEntries(m_entries, false);
    }
    m_reader.attach(m_rx.get(), m_rxtype);
}

void MeasureSession::close()
{
    end();
    if (!rxModel(m_rxtype).isNone())
        setOpenPanelEntries(m_entries, true);
    m_reader.attach(nullptr, 0);
    m_rx.reset();
}

void MeasureSession::begin()
{
    if (m_rx && !m_ownWords)
        m_ownWords.emplace(rxPort());
    m_reader.begin();
    if (m_rx && m_rx->model().readsAttenuator()) {
        if (HubPanel *p = hub().openPanel())
            p->setAttenuatorFrameEnabled(false);
    }
    if (m_rx)
        Receiver::hold(m_tool, true);
    m_measuring = true;
}

void MeasureSession::end()
{
    if (!m_measuring)
        return;
    m_measuring = false;
    if (m_rx && m_rx->model().readsAttenuator())
        if (HubPanel *p = hub().openPanel())
            p->setAttenuatorFrameEnabled(true);
    Receiver::hold(m_tool, false);
    m_ownWords.reset();
}

} // namespace tav
