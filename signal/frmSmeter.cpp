#include "signal/frmSmeter.h"

#include "core/tickguard.h"
#include "core/ui.h"

#include <cmath>

namespace tav {

namespace {

const QColor kWindow(255, 255, 192);
const QColor kPicture(255, 255, 128);
const QColor kErase(255, 255, 127);
const QColor kBar(0, 192, 0);
const QColor kScale(0, 255, 0);
const QColor kBand(255, 255, 0);
constexpr unsigned kYellowButton = 0x00FFFF; // RGB(255,255,0)

int px(double v) { return int(std::floor(v + 0.5)); }

const PanelEntries kCompeting{{}, {MainMenuId::Scan, MainMenuId::Propagation}};

} // namespace

frmSmeter::frmSmeter() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("S meter"));
    setFixedSize(232, 184);
    picForm = new Canvas(QStringLiteral("picForm"), 232, 184, kWindow, this);
    picForm->move(0, 0);
    picShistogram = new Canvas(QStringLiteral("picShistogram"), 217, 65, kPicture, this);
    picShistogram->move(8, 8);
    picSmeter = new Canvas(QStringLiteral("picSmeter"), 201, 17, kPicture, this);
    picSmeter->move(16, 80);

    QFont bold = font();
    bold.setBold(true);
    bold.setPointSizeF(8.25);
    static const char *sTexts[] = {"S1", "S5", "S9", "+24", "+48", "+72"};
    static const int sLeft[] = {8, 48, 88, 120, 160, 200};
    for (int i = 0; i < 6; ++i) {
        lbl_s[size_t(i)] = makeLabel(QStringLiteral("lbl_s(%1)").arg(i), QLatin1String(sTexts[i]), this);
        lbl_s[size_t(i)]->setFont(bold);
        lbl_s[size_t(i)]->setGeometry(sLeft[i], 112, i < 3 ? 17 : 25, 13);
    }
    QFont tiny = bold;
    tiny.setPointSizeF(6);
    static const int pLeft[] = {24, 48, 80, 120, 184};
    static const unsigned pColour[] = {0x00FFFF, 0xC0FFFF, 0x00FFFF, 0xC0FFFF, 0x00FFFF};
    for (int i = 0; i < 5; ++i) {
        QLabel *l = makeLabel(QStringLiteral("lbl_sinpo(%1)").arg(i), QString::number(i + 1), this);
        l->setFont(tiny);
        l->setGeometry(pLeft[i], 136, 9, 9);
        setBackColor(l, pColour[i]);
        lbl_sinpo[size_t(i)] = l;
    }
    static const char *captions[] = {"Start", "Stop", "Cls", "Exit"};
    QPushButton **buttons[] = {&cmdStart, &cmdStop, &cmdCls, &cmdExit};
    static const char *names[] = {"cmdStart", "cmdStop", "cmdCls", "cmdExit"};
    static const int bLeft[] = {16, 64, 120, 176};
    for (int i = 0; i < 4; ++i) {
        *buttons[i] = colouredButton(QLatin1String(names[i]), QLatin1String(captions[i]), kYellowButton, this);
        (*buttons[i])->setGeometry(bLeft[i], 160, 41, 17);
    }

    tmrSmeter.setInterval(1000);
    connect(&tmrSmeter, &QTimer::timeout, this, &frmSmeter::tmrSmeter_Timer);
    connect(cmdStart, &QPushButton::clicked, this, &frmSmeter::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmSmeter::cmdStop_Click);
    connect(cmdCls, &QPushButton::clicked, this, &frmSmeter::cmdCls_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmSmeter::cmdExit_Click);
}

void frmSmeter::drawScale()
{
    Picture &p = picForm->picture();
    p.line(16, 104, 216, 104, kScale);
    for (int k = 0; k <= 20; ++k) {
        p.line(16 + 10 * k, 104, 16 + 10 * k, 96, kScale);
        p.line(16 + 10 * k, 79, 16 + 10 * k, 71, kScale);
    }
    for (int j = 0; j <= 5; ++j)
        p.line(16 + 40 * j, 104, 16 + 40 * j, 112, kScale);
    p.box(16, 130, 36, 148, kBand);
    p.box(66, 130, 96, 148, kBand);
    p.box(146, 130, 216, 148, kBand);
    for (auto [x1, y1, x2, y2] : {std::array{16, 130, 216, 130}, {16, 148, 216, 148}, {16, 130, 16, 148},
                                  std::array{216, 130, 216, 148}})
        p.line(x1, y1, x2, y2, kScale);
}

void frmSmeter::Form_Load()
{
    drawScale();
    m_session.open(this, kCompeting);
    m_level = m_prev = 9.0f;
    // A new opening starts a new history: an empty ring and empty bins.
    m_history = SmeterHistory{};
    for (QPushButton *b : {cmdStart, cmdStop, cmdCls, cmdExit})
        b->setEnabled(true);
    show();
}

void frmSmeter::Form_Unload()
{
    // However the window goes, the measurement ends and the panel gets its
    // attenuator and the receiver back.
    tmrSmeter.stop();
    m_session.close();
}

void frmSmeter::cmdStart_Click()
{
    for (QPushButton *b : {cmdExit, cmdCls, cmdStart})
        b->setEnabled(false);
    m_session.begin();
    tmrSmeter.start();
}

void frmSmeter::cmdStop_Click()
{
    for (QPushButton *b : {cmdExit, cmdCls, cmdStart})
        b->setEnabled(true);
    tmrSmeter.stop();
    m_session.end();
}

void frmSmeter::cmdCls_Click()
{
    picShistogram->picture().box(0, 0, 217, 65, kErase);
    picSmeter->picture().box(0, 0, 201, 17, kErase);
}

void frmSmeter::cmdExit_Click() { unload(); }

void frmSmeter::needle(float level, QColor c)
{
    const int x = px((level - 1) * 10.0);
    picSmeter->picture().box(x, 2, x + 1, 12, c);
}

void frmSmeter::tmrSmeter_Timer()
{
    // A reply wait runs the event loop: the next second's tick does not
    // start inside this one (it would count one silence as two misses), nor
    // inside another window's exchange, where its read would cut into that
    // exchange and a skipped second would count as a miss.
    const TickGuard tick(this, m_ticking, TickGuard::SkipInside);
    if (!tick)
        return;
    m_prev = m_level;
    if (m_session.hasReceiver()) {
        const SmeterReader::Reading r = m_session.read([this] { cmdStop_Click(); });
        if (!r.level) {
            // Ended without a level (the line lost, or the receiver silent):
            // the needle no longer stands at the last one read.
            if (r.stopped)
                needle(m_level, kErase);
            return; // no reading this second
        }
        m_level = *r.level;
    }
    m_level = SmeterHistory::clampLevel(m_level);
    needle(m_prev, kErase);
    needle(m_level, kBar);
    Picture &h = picShistogram->picture();
    for (const SmeterHistory::BarUpdate &u : m_history.add(m_level)) {
        const int k = u.bin;
        if (u.erase)
            h.box(10 * k - 4, 63, 10 * k, 0, kErase);
        if (u.count > 0)
            h.box(10 * k - 4, 63, 10 * k, 63 - u.count, kBar);
    }
}

} // namespace tav
