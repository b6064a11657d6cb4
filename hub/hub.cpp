#include "hub/hub.h"

#include "core/form.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/links.h"
#include "core/ui.h"

#include <QLineEdit>

namespace tav {

Hub &hub() { return frmWelcome::instance()->hub(); }

bool hubExists() { return frmWelcome::exists(); }

TavForm *Hub::chosenPanelWindow() const
{
    const std::optional<WindowId> id = panelWindow(G.goRxtype);
    return Windows::loaded(id) ? Windows::existing(id) : nullptr;
}

HubPanel *Hub::openPanel() const
{
    if (rxModel(G.goRxtype).isNone())
        return nullptr;
    return dynamic_cast<HubPanel *>(chosenPanelWindow());
}

QString Hub::panelFrequencyText(bool withNoRx) const
{
    HubPanel *p = withNoRx ? dynamic_cast<HubPanel *>(chosenPanelWindow()) : openPanel();
    return p ? p->frequencyText() : QString();
}

void showOnOpenPanel(const RxChange &c)
{
    if (!hubExists())
        return;
    if (HubPanel *p = hub().openPanel())
        p->showReceiverChange(c);
}

void setOpenPanelEntries(const PanelEntries &entries, bool enabled)
{
    if (!hubExists())
        return;
    if (HubPanel *p = hub().openPanel())
        p->setToolEntriesEnabled(entries, enabled);
}

void showChosenPanel()
{
    if (!frmWelcome::exists())
        return;
    if (TavForm *p = hub().chosenPanelWindow()) {
        p->showModeless();
        p->raise();
        p->activateWindow();
    }
}

Receiver *Hub::hubReceiver() const
{
    // Only the object of the receiver chosen at Go answers for it.
    return receiver && receiver->model().rxtype == G.goRxtype ? receiver.get() : nullptr;
}

void Hub::Change2FreqA(double freq)
{
    Receiver *rx = hubReceiver();
    if (!rx)
        return;
    if (!(freq >= goModel().freqMinKHz && freq <= goModel().freqMaxKHz)) {
        msgBox(QStringLiteral("Frequency outside range"), MsgIcon::Exclamation, QStringLiteral("Input Error"));
        return;
    }
    // Only what the receiver took is shown and passed on (the panel, the
    // tools' frequency boxes, the last-20 list, tracking).
    if (!rx->tune(freq))
        return;
    if (HubPanel *p = openPanel())
        p->hubFrequencyChanged(freq);
}

void Hub::distributefreqa(const QString &freqtext, double freq)
{
    for (FrequencyBoxLink *box : links::frequencyBoxes())
        box->showTunedFrequency(freqtext);
    // A frequency the receiver did not give ("?") is no tuning to keep or
    // to look stations up for; the boxes show it as unknown.
    const bool known = freq >= goModel().freqMinKHz && freq <= goModel().freqMaxKHz;
    if (Last20Link *l = links::last20(); l && G.last20record && known)
        l->fillgrdlast20(freqtext);
    G.last20record = true;
    if (TrackingLink *t = links::tracking(); t && t->trackDatabaseLoaded() && known) {
        G.rxfreqnow = freq;
        t->Trackfreq();
    }
}

QString Hub::ConvertRx2mfa()
{
    // A receiver that did not answer has no mode, rather than a wrong one.
    Receiver *rx = hubReceiver();
    return rx ? rx->readModeLetter().value_or(QString()) : QString();
}

void Hub::SetRx2mfa(const QString &code)
{
    Receiver *rx = hubReceiver();
    if (!rx)
        return;
    const std::optional<ModeSetting> set = rx->setModeLetter(code);
    if (!set)
        return;
    if (HubPanel *p = openPanel()) {
        p->hubModeChanged(set->mode);
        if (set->bandwidth)
            p->hubBandwidthChanged(*set->bandwidth);
        if (set->agcspeed)
            p->hubAgcspeedChanged(*set->agcspeed);
    }
}

double Hub::Update2RxFreq()
{
    Receiver *rx = hubReceiver();
    if (!rx)
        return 0;
    // A silent receiver leaves the panel's display as it was.
    const std::optional<double> f = rx->readFrequency();
    if (!f)
        return 0;
    if (HubPanel *p = openPanel())
        p->hubFrequencyChanged(*f);
    return *f;
}

void Hub::Update4RxFreq() { Update2RxFreq(); }

void Hub::getfreq(QLineEdit *termBox, const QString &received)
{
    // The receiver chosen at Go knows the form of its own reports.
    QString text = termBox->text();
    const DialBytes got = Receiver::takeDialBytes(G.goRxtype, text, received);
    termBox->setText(text);
    if (!got.complete)
        return;
    if (got.khz) {
        G.last20record = links::recordsFreqSteps();
        G.rxfreqnow = *got.khz;
        if (HubPanel *p = openPanel())
            p->hubFrequencyChanged(G.rxfreqnow);
    }
    if (TrackingLink *t = links::tracking())
        t->Trackfreq();
}

} // namespace tav
