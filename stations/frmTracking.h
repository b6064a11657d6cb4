#pragma once
// The tracking window: the stations of a loaded database near the tuned
// frequency, following the receiver's dial (AR7030 by polling, JRC receivers
// by their frequency reports) or stepping the frequency itself.

#include "core/filekinds.h"
#include "core/form.h"
#include "core/links.h"
#include "core/ui.h"
#include "drivers/receiver.h"
#include "lists/listwindow.h"
#include "stations/tracking.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
#include <QTimer>
#include <array>
#include <memory>

namespace tav {

// A line of the list: a label that answers a click.
class BingoLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // A line's size does not depend on its text: a new text is painted
    // without laying the window out again, on every dial report.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *ev) override;
    // One line of plain text at the left, centred in height. The lines are
    // Latin-1 in a fixed-pitch font, so each character's glyph is looked up
    // once and a line is drawn without shaping its text again.
    void paintEvent(QPaintEvent *ev) override;

private:
    mutable QFont m_hintFont;
    mutable QSize m_hint;
    QFont m_font;
    bool m_fontSet = false;
    QRawFont m_raw;
    std::array<quint32, 256> m_glyph{};
    std::array<qreal, 256> m_advance{};
};

class frmTracking : public TavForm, public TrackingLink, public FrequencyBoxLink {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmTracking;
    frmTracking();

    std::array<BingoLabel *, TrackEngine::kPageLines> lblBingo{};
    QLabel *lblCatchrange = nullptr, *lblFreqstep = nullptr;
    QLineEdit *txtCatchrange = nullptr, *txtFreqstep = nullptr;
    SpinButton *spnFreqstep = nullptr;
    QGroupBox *fraMousedial = nullptr, *fraHitsall = nullptr, *fraAlternates = nullptr;
    OptionGroup *optMousedial = nullptr, *optHitsall = nullptr, *optAlternates = nullptr;
    std::array<QPushButton *, TrackEngine::kPages> cmdShow{};
    lists::FrequencyBox *txtFrequencyA = nullptr;
    QPushButton *cmdLoad = nullptr, *cmdExit = nullptr;
    QTimer tmrDial7030;

    // The loader of file kind 5.
    FileResult trackfile2ram(const QString &path);
    // TrackingLink
    bool trackDatabaseLoaded() const override { return G.trackdbloaded; }
    void Trackfreq() override;
    void disableDialFollowing() override { optMousedial->button(1)->setEnabled(false); }
    void endDialFollowing() override { optMousedial->select(0); }
    void showTunedFrequency(const QString &freqtext) override { txtFrequencyA->setText(freqtext); }

    void Trackall();
    void Trackhits();
    void Trackpageall(int page) { showPage(page, false); }
    void Trackpagehits(int page) { showPage(page, true); }

    void cmdLoad_Click();
    void cmdExit_Click();
    void cmdShow_Click(int i);
    void optMousedial_Click(int i);
    void optHitsall_Click(int) { rebuild(); }
    void optAlternates_Click(int) { rebuild(); }
    void spnFreqstep_SpinUp() { step(+1); }
    void spnFreqstep_SpinDown() { step(-1); }
    void tmrDial7030_Timer();
    void lblBingo_Click(int i);
    void txtFrequencyA_KeyEnter();

    const TrackEngine &engine() const { return m_engine; }
    // How often a list was built (each search and option change).
    int builds() const { return m_builds; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void rebuild();
    void showPage(int page, bool hits);
    void step(int direction);
    void setStepping(bool visible);
    void releaseDial();
    // Dial following through the receiver, where the line is open.
    void followDial(bool on);

    TrackEngine m_engine;
    std::unique_ptr<Receiver> m_rx;
    bool m_dialHeld = false; // this window sent "I1", and its following holds the JRC lock
    bool m_polling = false;
    int m_builds = 0;
};

} // namespace tav
