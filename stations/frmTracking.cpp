#include "stations/frmTracking.h"
#include "drivers/receiver.h"

#include <QGlyphRun>
#include <QPainter>

#include "core/tickguard.h"
#include "core/exchange.h"
#include "core/comm.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "logbook/frmLoginput.h"
#include "stations/ftlrecord.h"
#include "stations/stationstore.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace tav {

void BingoLabel::mousePressEvent(QMouseEvent *ev)
{
    ev->accept();
    emit clicked();
}

QSize BingoLabel::sizeHint() const
{
    if (!m_hint.isValid() || m_hintFont != font()) {
        const QFontMetrics fm(font());
        m_hintFont = font();
        m_hint = QSize(fm.horizontalAdvance(QString(ftl::kHeldWidth, QLatin1Char('0'))), fm.height());
    }
    return m_hint;
}

void BingoLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const QRect r = contentsRect();
    const QFontMetrics fm(font());
    const QPointF origin(r.left(), r.top() + (r.height() - fm.height()) / 2.0 + fm.ascent());
    const QString t = text();
    if (!m_fontSet || m_font != font()) {
        m_fontSet = true;
        m_font = font();
        m_raw = QRawFont::fromFont(font());
        QString all(256, Qt::Uninitialized);
        for (int c = 0; c < 256; ++c)
            all[c] = QChar(c);
        const QList<quint32> g = m_raw.isValid() ? m_raw.glyphIndexesForString(all) : QList<quint32>();
        const QList<QPointF> a = g.size() == 256 ? m_raw.advancesForGlyphIndexes(g) : QList<QPointF>();
        for (int c = 0; c < 256 && a.size() == 256; ++c) {
            m_glyph[size_t(c)] = g[c];
            m_advance[size_t(c)] = a[c].x();
        }
        if (a.size() != 256)
            m_raw = QRawFont();
    }
    bool latin1 = m_raw.isValid();
    for (QChar c : t)
        if (c.unicode() > 255 || (c.unicode() != ' ' && m_glyph[c.unicode()] == 0))
            latin1 = false;
    if (!latin1) {
        p.drawText(origin, t);
        return;
    }
    QList<quint32> glyphs(t.size());
    QList<QPointF> positions(t.size());
    qreal x = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const ushort c = t[i].unicode();
        glyphs[i] = m_glyph[c];
        positions[i] = QPointF(x, 0);
        x += m_advance[c];
    }
    QGlyphRun run;
    run.setRawFont(m_raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    p.drawGlyphRun(origin, run);
}

namespace {

unsigned toBbggrr(unsigned rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

} // namespace

frmTracking::frmTracking() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Tracking"));
    setBackColor(this, toBbggrr(TrackEngine::kBackground));
    auto *top = new QVBoxLayout(this);
    auto *controls = new QHBoxLayout;
    top->addLayout(controls);

    auto *boxes = new QGridLayout;
    controls->addLayout(boxes);
    lblCatchrange = makeLabel(QStringLiteral("lblCatchrange"), QStringLiteral("Catching (kHz) :"), this);
    txtCatchrange = new QLineEdit(QStringLiteral("2"), this);
    txtCatchrange->setObjectName(QStringLiteral("txtCatchrange"));
    txtCatchrange->setMaximumWidth(50);
    lblFreqstep = makeLabel(QStringLiteral("lblFreqstep"), QStringLiteral("Stepping (kHz) :"), this);
    txtFreqstep = new QLineEdit(QStringLiteral("5"), this);
    txtFreqstep->setObjectName(QStringLiteral("txtFreqstep"));
    txtFreqstep->setMaximumWidth(50);
    spnFreqstep = new SpinButton(QStringLiteral("spnFreqstep"), this);
    boxes->addWidget(lblCatchrange, 0, 0);
    boxes->addWidget(txtCatchrange, 0, 1);
    boxes->addWidget(lblFreqstep, 1, 0);
    boxes->addWidget(txtFreqstep, 1, 1);
    boxes->addWidget(spnFreqstep, 1, 2);
    // Dial following and loading hide these; the option frames beside them
    // stay where they are, so "Mouse" is where the user clicked "Dial".
    for (QWidget *w : {static_cast<QWidget *>(lblCatchrange), static_cast<QWidget *>(txtCatchrange),
                       static_cast<QWidget *>(lblFreqstep), static_cast<QWidget *>(txtFreqstep),
                       static_cast<QWidget *>(spnFreqstep)}) {
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        w->setSizePolicy(p);
    }

    auto frame = [&](const QString &name, QGroupBox *&box, OptionGroup *&group, const QStringList &captions,
                     const QString &base) {
        box = makeFrame(name, QString(), this);
        auto *l = new QHBoxLayout(box);
        group = new OptionGroup(this);
        for (int i = 0; i < captions.size(); ++i)
            l->addWidget(group->add(i, base, captions[i], box));
        controls->addWidget(box);
    };
    frame(QStringLiteral("fraMousedial"), fraMousedial, optMousedial, {QStringLiteral("Mouse"), QStringLiteral("Dial")},
          QStringLiteral("optMousedial"));
    frame(QStringLiteral("fraHitsall"), fraHitsall, optHitsall, {QStringLiteral("Hits"), QStringLiteral("All")},
          QStringLiteral("optHitsall"));
    frame(QStringLiteral("fraAlternates"), fraAlternates, optAlternates,
          {QStringLiteral("Lat/Lon"), QStringLiteral("Dis/Dir"), QStringLiteral("Ctry"), QStringLiteral("Loc")},
          QStringLiteral("optAlternates"));
    controls->addStretch();

    QFont mono(QStringLiteral("Courier New"), 9);
    mono.setStyleHint(QFont::Monospace);
    mono.setFixedPitch(true);
    const double tpp = twipsPerPixel();
    auto *lines = new QVBoxLayout;
    lines->setSpacing(0);
    top->addLayout(lines);
    for (int i = 0; i < TrackEngine::kPageLines; ++i) {
        auto *l = new BingoLabel(this);
        l->setObjectName(QStringLiteral("lblBingo(%1)").arg(i));
        l->setFont(mono);
        l->setTextFormat(Qt::PlainText);
        l->setAutoFillBackground(true);
        l->setFixedHeight(int(255 / tpp));
        // Wide enough for a whole record, whatever the font turns out to be.
        l->setMinimumWidth(std::max(int(9375 / tpp),
                                    QFontMetrics(mono).horizontalAdvance(QString(ftl::kHeldWidth, QLatin1Char('W'))) +
                                        2 * l->margin() + 4));
        setBackColor(l, toBbggrr(TrackEngine::kBackground));
        connect(l, &BingoLabel::clicked, this, [this, i] { lblBingo_Click(i); });
        lblBingo[i] = l;
        lines->addWidget(l);
    }

    auto *bottom = new QHBoxLayout;
    top->addLayout(bottom);
    for (int i = 0; i < TrackEngine::kPages; ++i) {
        cmdShow[i] = arrayButton(QStringLiteral("cmdShow"), i, QString(), this);
        cmdShow[i]->setFixedWidth(28);
        bottom->addWidget(cmdShow[i]);
        connect(cmdShow[i], &QPushButton::clicked, this, [this, i] { cmdShow_Click(i); });
    }
    bottom->addStretch();
    txtFrequencyA = new lists::FrequencyBox(this);
    txtFrequencyA->setMaximumWidth(110);
    cmdLoad = makeButton(QStringLiteral("cmdLoad"), QStringLiteral("Load File"), this);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    bottom->addWidget(txtFrequencyA);
    bottom->addWidget(cmdLoad);
    bottom->addWidget(cmdExit);

    // The options the window opens with, chosen before their handlers are connected.
    optMousedial->select(0);
    optHitsall->select(0);
    optAlternates->select(0);
    tmrDial7030.setInterval(250);
    tmrDial7030.setObjectName(QStringLiteral("tmrDial7030"));
    connect(&tmrDial7030, &QTimer::timeout, this, &frmTracking::tmrDial7030_Timer);
    connect(cmdLoad, &QPushButton::clicked, this, &frmTracking::cmdLoad_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmTracking::cmdExit_Click);
    connect(optMousedial, &OptionGroup::clicked, this, &frmTracking::optMousedial_Click);
    connect(optHitsall, &OptionGroup::clicked, this, &frmTracking::optHitsall_Click);
    connect(optAlternates, &OptionGroup::clicked, this, &frmTracking::optAlternates_Click);
    connect(spnFreqstep, &SpinButton::SpinUp, this, &frmTracking::spnFreqstep_SpinUp);
    connect(spnFreqstep, &SpinButton::SpinDown, this, &frmTracking::spnFreqstep_SpinDown);
    connect(txtFrequencyA, &lists::FrequencyBox::enterPressed, this, &frmTracking::txtFrequencyA_KeyEnter);
}

void frmTracking::Form_Load()
{
    setWindowTitle(QStringLiteral("Tracking"));
    m_rx = goModel().isNone() ? nullptr : makeReceiver();
    m_dialHeld = false;
    tmrDial7030.stop();
    setStepping(true);
    spnFreqstep->setEnabled(false);
    fraMousedial->setEnabled(false);
    fraHitsall->setEnabled(false);
    fraAlternates->setEnabled(false);
    optMousedial->button(1)->setEnabled(true);
    links::add(static_cast<TrackingLink *>(this));
    links::add(static_cast<FrequencyBoxLink *>(this));
    if (m_rx && hubExists())
        hub().Update4RxFreq();
}

void frmTracking::Form_Unload()
{
    // The close box lets go of what Dial following took, and nothing else.
    tmrDial7030.stop();
    releaseDial();
    links::remove(static_cast<TrackingLink *>(this));
    links::remove(static_cast<FrequencyBoxLink *>(this));
    G.trackdbloaded = false;
    m_rx.reset();
}

void frmTracking::followDial(bool on)
{
    // The following holds the receiver for its length and lets go of it at
    // its end, also on a line lost meanwhile (where nothing is sent).
    if (m_rx && hubExists())
        m_rx->followDial(on);
}

void frmTracking::releaseDial()
{
    if (!m_dialHeld)
        return;
    m_dialHeld = false;
    G.dialtrack = false;
    followDial(false);
}

void frmTracking::setStepping(bool visible)
{
    lblFreqstep->setVisible(visible);
    txtFreqstep->setVisible(visible);
    spnFreqstep->setVisible(visible);
}

void frmTracking::cmdLoad_Click() { lists::showLoadDialog(this, FileKind::Tracking); }

void frmTracking::cmdExit_Click()
{
    if (m_rx && m_rx->model().dialReports) {
        G.dialtrack = false;
        followDial(false);
        m_dialHeld = false;
    }
    m_engine.clear();
    unload();
}

FileResult frmTracking::trackfile2ram(const QString &path)
{
    HourglassGuard busy;
    setWindowTitle(QStringLiteral("Tracking"));
    for (BingoLabel *l : lblBingo) {
        l->clear();
        setBackColor(l, toBbggrr(TrackEngine::kBackground));
    }
    lblCatchrange->setVisible(false);
    txtCatchrange->setVisible(false);
    StationRecords recs;
    const StationLoad r = readStationLines(path, stationStoreCapacity(), recs);
    if (!r.ok) {
        lblCatchrange->setVisible(true);
        txtCatchrange->setVisible(true);
        return FileResult::failure(r.error);
    }
    m_engine.setRecords(std::move(recs));
    G.rxfreqnow = numericValue(txtFrequencyA->text());
    Trackfreq();
    lblCatchrange->setVisible(true);
    txtCatchrange->setVisible(true);
    spnFreqstep->setEnabled(true);
    fraMousedial->setEnabled(true);
    fraAlternates->setEnabled(true);
    fraHitsall->setEnabled(true);
    const QString name = QFileInfo(path).fileName();
    const QString upper = name.toUpper();
    if (upper == QLatin1String("AERO.FTL")) {
        txtFreqstep->setText(QStringLiteral("3"));
        optHitsall->select(1);
        fraHitsall->setEnabled(false);
        optAlternates->select(0);
        fraAlternates->setEnabled(false);
    } else if (upper == QLatin1String("ILGSDATA.FTL") || upper == QLatin1String("ILGADATA.FTL")) {
        txtFreqstep->setText(upper == QLatin1String("ILGSDATA.FTL") ? QStringLiteral("5") : QStringLiteral("9"));
        optHitsall->select(0);
        optAlternates->select(1);
    }
    optMousedial->select(0);
    setStepping(true);
    setWindowTitle(QStringLiteral("Tracking database ") + name + QStringLiteral(" /  ") +
                   counted(r.lines, "record"));
    G.trackdbloaded = true;
    if (const QStringList notice = stationLoadNotice(r); !notice.isEmpty())
        msgBox(notice, MsgIcon::Exclamation, QStringLiteral("Error"));
    return FileResult::loaded(r.leftOutLines());
}

void frmTracking::Trackfreq()
{
    if (!Windows::loaded(WindowId::frmTracking) || !m_engine.search(G.rxfreqnow))
        return;
    // The page sets every line's text and colour; lines are not blanked
    // first, so a line that stays the same is not rewritten.
    rebuild();
}

void frmTracking::rebuild()
{
    if (optHitsall->selected() == 0)
        Trackhits();
    else if (optHitsall->selected() == 1)
        Trackall();
}

namespace {

double catchRange(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return numericValue(t);
}

} // namespace

void frmTracking::Trackall()
{
    ++m_builds;
    m_engine.build(false, G.rxfreqnow, catchRange(txtCatchrange->text()), ftl::hhmmFromClockText(G.utctext));
    const int pages = m_engine.pageCount();
    for (int i = 0; i < TrackEngine::kPages; ++i) {
        cmdShow[i]->setEnabled(i < pages);
        cmdShow[i]->setText(i < pages ? QString::number(i + 1) : QString());
    }
    Trackpageall(0);
}

void frmTracking::Trackhits()
{
    ++m_builds;
    m_engine.build(true, G.rxfreqnow, catchRange(txtCatchrange->text()), ftl::hhmmFromClockText(G.utctext));
    const int pages = m_engine.pageCount();
    for (int i = 0; i < TrackEngine::kPages; ++i) {
        cmdShow[i]->setEnabled(i < pages);
        cmdShow[i]->setText(i < pages ? QString::number(i + 1) : QString());
    }
    Trackpagehits(0);
}

void frmTracking::showPage(int page, bool hits)
{
    const int view = std::max(0, optAlternates->selected());
    const auto lines = m_engine.page(page, hits, TrackEngine::View(view), ftl::hhmmFromClockText(G.utctext));
    for (int i = 0; i < TrackEngine::kPageLines; ++i) {
        setBackColor(lblBingo[i], toBbggrr(lines[i].rgb));
        // Only changed lines are written, so stepping does not flicker.
        if (lblBingo[i]->text() != lines[i].text)
            lblBingo[i]->setText(lines[i].text);
    }
}

void frmTracking::cmdShow_Click(int i)
{
    if (optHitsall->selected() == 0)
        Trackpagehits(i);
    else if (optHitsall->selected() == 1)
        Trackpageall(i);
}

void frmTracking::optMousedial_Click(int i)
{
    const RxModel &model = m_rx ? m_rx->model() : rxModel(0);
    if (i == 0) {
        if (model.pollsFrequency)
            tmrDial7030.stop();
        if (model.dialReports) {
            G.dialtrack = false;
            followDial(false);
            m_dialHeld = false;
        }
        setStepping(true);
        return;
    }
    if (m_rx && hubExists())
        hub().Update4RxFreq();
    if (model.pollsFrequency) {
        tmrDial7030.start();
    } else if (model.dialReports) {
        followDial(true);
        G.dialtrack = true;
        m_dialHeld = true;
    }
    setStepping(false);
    G.rxfreqnow = numericValue(txtFrequencyA->text());
    Trackfreq();
}

void frmTracking::tmrDial7030_Timer()
{
    // The poll never runs inside itself or inside another exchange.
    const TickGuard tick(this, m_polling, TickGuard::SkipInside);
    if (!tick || !m_rx || !m_rx->model().pollsFrequency)
        return;
    // A lost line has been told of once; polling it would only fail.
    CommControl &port = rxPort();
    if (port.lost())
        return;
    G.last20record = links::recordsFreqSteps();
    const double old = G.rxfreqnow;
    std::optional<double> f;
    {
        // Said once, until the receiver answers again, when it does not.
        const CommControl::ReadRun run(port);
        f = m_rx->readFrequency();
    }
    if (!f) {
        // The frequency is unknown now: the panel shows "?" instead of the
        // last one as if it were current (no frequency for the last-20
        // list), and the next answer shows again.
        G.rxfreqnow = 0;
        if (old != 0) {
            G.last20record = false;
            if (HubPanel *p = hub().openPanel())
                p->hubFrequencyChanged(0);
        }
        return;
    }
    if (*f > 0) {
        G.rxfreqnow = *f;
        if (G.rxfreqnow != old) {
            if (HubPanel *p = hub().openPanel())
                p->hubFrequencyChanged(G.rxfreqnow);
            Trackfreq();
        }
    }
}

void frmTracking::step(int direction)
{
    G.last20record = links::recordsFreqSteps();
    spnFreqstep->setEnabled(false);
    const double stepHz = double(roundHalfEven(numericValue(txtFreqstep->text()) * 1000));
    const double f = std::floor(numericValue(txtFrequencyA->text()) * 1000 + 0.49);
    double next = (f + direction * stepHz) / 1000;
    if (direction < 0 && next < goModel().freqMinKHz)
        next = goModel().freqMinKHz;
    if (direction > 0 && next > goModel().freqMaxKHz)
        next = goModel().freqMaxKHz;
    hub().Change2FreqA(next);
    spnFreqstep->setEnabled(true);
}

void frmTracking::lblBingo_Click(int i)
{
    if (!Windows::loaded(WindowId::frmLoginput))
        return;
    if (auto *entry = Windows::existing<frmLoginput>())
        entry->takeStationLine(lblBingo[i]->text());
}

void frmTracking::txtFrequencyA_KeyEnter() { lists::tuneToText(txtFrequencyA->text()); }

} // namespace tav
