#include "hub/frmWelcome.h"
#include "drivers/receiver.h"

#include "core/clock.h"
#include "core/links.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "core/tables.h"
#include "core/ui.h"
#include "core/numtext.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdlib>
#include <QVBoxLayout>

namespace tav {

namespace {

frmWelcome *s_instance = nullptr;

// The four image buttons are drawn here rather than shipped as pictures.
QIcon drawIcon(int kind)
{
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QColor colors[] = {QColor(40, 160, 60), QColor(70, 100, 170), QColor(200, 150, 40), QColor(180, 50, 50)};
    p.setBrush(colors[kind]);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(4, 4, 56, 56);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    switch (kind) {
    case 0: { // Go: a play triangle
        QPainterPath path;
        path.moveTo(24, 18);
        path.lineTo(46, 32);
        path.lineTo(24, 46);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case 1: // Set-up: three sliders
        for (int i = 0; i < 3; ++i) {
            p.drawRect(18, 20 + i * 10, 28, 3);
            p.drawEllipse(QPointF(22 + i * 9, 21.5 + i * 10), 4, 4);
        }
        break;
    case 2: // About: an "i"
        p.drawEllipse(29, 16, 7, 7);
        p.drawRect(29, 27, 7, 20);
        break;
    default: // Exit: a cross
        p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(22, 22, 42, 42);
        p.drawLine(42, 22, 22, 42);
        break;
    }
    return QIcon(pm);
}

// The background picture box holding the buttons: a calm short-wave blue.
class PictureBox : public QWidget {
public:
    using QWidget::QWidget;
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(20, 40, 90));
        g.setColorAt(1, QColor(90, 140, 200));
        p.fillRect(rect(), g);
        p.setPen(QColor(255, 255, 255, 60));
        for (int x = 0; x < width(); x += 6) // a faint band of "signals"
            p.drawLine(x, height() / 2, x, height() / 2 - int(20 * std::abs(std::sin(x * 0.13)) * std::abs(std::cos(x * 0.021))));
        p.setPen(Qt::white);
        QFont f = font();
        f.setPointSize(22);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRect(0, 10, width(), 40), Qt::AlignCenter, QStringLiteral("Tavorin"));
    }
};

} // namespace

// Ends without closing any window: closing would run their unload work,
// which a panel's Exit must not do.
std::function<void(int)> frmWelcome::endProgram = [](int code) { std::exit(code); };

frmWelcome::frmWelcome() : TavForm(windowId), Comm1(rxPort())
{
    setWindowTitle(QStringLiteral("Tavorin 2.0"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *pic = new PictureBox(this);
    pic->setObjectName(QStringLiteral("pic_diduzu"));
    pic->setMinimumSize(420, 220);
    outer->addWidget(pic);

    auto *col = new QVBoxLayout(pic);
    col->addSpacing(56);
    lblGo = makeLabel(QStringLiteral("lblGo"), QStringLiteral("NRD535"), pic);
    lblGo->setAlignment(Qt::AlignCenter);
    QFont lf = lblGo->font();
    lf.setPointSize(16);
    lf.setBold(true);
    lblGo->setFont(lf);
    lblGo->setAutoFillBackground(true);
    setBackColor(lblGo, 0x8080FF);
    col->addWidget(lblGo);
    auto *row = new QHBoxLayout;
    auto mk = [&](const char *name, const char *tip, int kind) {
        auto *b = new QToolButton(pic);
        b->setObjectName(QLatin1String(name));
        b->setIcon(drawIcon(kind));
        b->setIconSize(QSize(56, 56));
        b->setToolTip(QLatin1String(tip));
        b->setAutoRaise(true);
        row->addWidget(b);
        return b;
    };
    imgGo = mk("imgGo", "Go", 0);
    imgSetup = mk("imgSetup", "Set-up", 1);
    imgAbout = mk("imgAbout", "About", 2);
    imgExit = mk("imgExit", "Exit", 3);
    col->addLayout(row);

    term = new QLineEdit(this);
    term->setObjectName(QStringLiteral("term"));
    term->setVisible(false);
    term->setMaxLength(512); // dial reports are short; a runaway stream must not grow it without end

    Showtime.setObjectName(QStringLiteral("Showtime"));
    Showtime.setInterval(5000);
    connect(&Showtime, &QTimer::timeout, this, &frmWelcome::Showtime_Timer);
    connect(imgGo, &QToolButton::clicked, this, &frmWelcome::imgGo_Click);
    connect(imgSetup, &QToolButton::clicked, this, &frmWelcome::imgSetup_Click);
    connect(imgAbout, &QToolButton::clicked, this, &frmWelcome::imgAbout_Click);
    connect(imgExit, &QToolButton::clicked, this, &frmWelcome::imgExit_Click);
    connect(&Comm1, &CommControl::OnComm, this, &frmWelcome::Comm1_OnComm);
}

frmWelcome *frmWelcome::instance()
{
    if (!s_instance) {
        s_instance = new frmWelcome;
        Windows::registerFactory(WindowId::frmWelcome, [] { return instance(); });
    }
    return s_instance;
}

bool frmWelcome::exists() { return s_instance != nullptr; }

void frmWelcome::destroy()
{
    delete s_instance;
    s_instance = nullptr;
    dropRxPort();
}

void frmWelcome::setGoLabel(int rxtype)
{
    const RxModel *m = findRxModel(rxtype);
    if (!m)
        return;
    setBackColor(lblGo, m->goColour);
    lblGo->setText(QLatin1String(m->name));
}

void frmWelcome::Form_Load()
{
    InitConstants();
    readPositionsFile();
    moveTwips(G.formleft[slot()], G.formtop[slot()]);
    SettingsReadResult r = readSettingsFile();
    // A type no model has would name a receiver that Go cannot open.
    if (!findRxModel(G.rxtype)) {
        G.rxtype = 0;
        r.repaired = true;
    }
    if (!r.skipped.isEmpty())
        m_notice = r.skipped + (r.found ? QStringLiteral(".\nTavorin uses the settings file in %1 instead.").arg(shownText(r.dir))
                                        : QStringLiteral(".\nTavorin starts with its default settings."));
    else if (!r.found)
        m_notice = QStringLiteral("No settings file \"tavorin2.ini\" was found, so Tavorin starts with its default "
                                  "settings.\nChoose your receiver and data directory in Set-up and save them.");
    else if (!r.complete || r.repaired)
        m_notice = QStringLiteral("The settings file \"tavorin2.ini\" in %1 is incomplete or holds values out of "
                                  "range; the missing or wrong settings have their defaults.\nCheck them in Set-up "
                                  "and save them.")
                       .arg(shownText(r.dir));
    buildFileDirs();
    setGoLabel(G.rxtype);
    // Computed now so that no tool ever sees an empty time before the first tick.
    updateClockTexts();
    Showtime.start();
}

void frmWelcome::Form_Unload()
{
    Showtime.stop();
    releaseDrivers();
    QString error;
    if (!savePositionsFile(&error))
        msgBox(QStringList{QStringLiteral("The window positions could not be saved:"), error}, MsgIcon::Exclamation,
               QStringLiteral("Error"));
}

void frmWelcome::releaseDrivers() { m_hub.receiver.reset(); }

void frmWelcome::Showtime_Timer()
{
    updateClockTexts();
    // The panel open is the one of the receiver chosen at Go; the set-up may
    // have chosen another type since.
    const int type = G.goRxtype;
    const std::optional<WindowId> panel = panelWindow(type);
    if (Windows::loaded(panel))
        Windows::existing(panel)->setWindowTitle(QStringLiteral("LT : ") + G.lttext + QStringLiteral("     ") +
                                                 QLatin1String(rxModel(type).name) + QStringLiteral("     UTC : ") +
                                                 G.utctext);
    for (ClockCaptionLink *w : links::clockCaptions())
        w->showClockCaption(links::clockCaption(*w, G.lttext, G.utctext));
}

void frmWelcome::imgGo_Click()
{
    releaseDrivers();
    const int type = G.rxtype;
    const std::optional<WindowId> panel = panelWindow(type);
    if (!panel)
        return; // an unknown receiver type: the welcome window stays shown
    hide();
    G.goRxtype = int16_t(type);
    m_hub.receiver = makeReceiver(type, Comm1);
    TavForm *f = Windows::get(panel);
    if (f)
        f->showModeless();
    if (!f || !f->isLoadedForm()) {
        // The panel gave up in its load (its own message said why).
        releaseDrivers();
        showModeless();
    }
}

void frmWelcome::imgSetup_Click()
{
    if (TavForm *f = Windows::get(WindowId::frmSetUp))
        f->showModal();
}

void frmWelcome::imgAbout_Click()
{
    if (TavForm *f = Windows::get(WindowId::frmAbout))
        f->showModal();
}

void frmWelcome::imgExit_Click()
{
    unload();
    endProgram(0);
}

void frmWelcome::Comm1_OnComm(int commEvent)
{
    if (!G.dialtrack)
        return;
    const QByteArray got = Comm1.Input();
    if (commEvent == 2)
        m_hub.getfreq(term, QString::fromLatin1(got));
}

} // namespace tav
