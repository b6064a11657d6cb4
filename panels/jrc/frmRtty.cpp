#include "panels/jrc/frmRtty.h"

#include <cerrno>

#include "hub/frmSavefile.h"
#include "core/textfile.h"
#include <QFileInfo>

#include "core/exchange.h"
#include "core/filekinds.h"
#include "core/comm.h"
#include "hub/hub.h"
#include "core/globals.h"

#include "core/ui.h"
#include "drivers/receiver.h"
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

namespace {

constexpr unsigned kNoFileColour = kLightYellow;
constexpr unsigned kCaptureColour = 0x0080FF;

} // namespace

frmRtty::frmRtty() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("RTTY Decoder"));
    auto *top = new QVBoxLayout(this);

    // Display: fifteen one-line labels in a fixed-pitch font.
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    mono.setFixedPitch(true);
    auto *display = new QWidget(this);
    display->setObjectName(QStringLiteral("picDisplay"));
    auto *dl = new QVBoxLayout(display);
    dl->setSpacing(0);
    dl->setContentsMargins(4, 4, 4, 4);
    const int lineHeight = QFontMetrics(mono).height();
    const int lineWidth = QFontMetrics(mono).horizontalAdvance(QString(RttyLines::kWidth + 2, QLatin1Char('W')));
    for (int i = 0; i < RttyLines::kLines; ++i) {
        auto *l = new QLabel(display);
        l->setObjectName(QStringLiteral("lblRy(%1)").arg(i));
        l->setFont(mono);
        // Received text is shown as it came, never as markup.
        l->setTextFormat(Qt::PlainText);
        l->setFixedHeight(lineHeight);
        l->setMinimumWidth(lineWidth);
        lblRy[i] = l;
        dl->addWidget(l);
    }
    top->addWidget(display);

    auto *row = new QHBoxLayout;
    top->addLayout(row);

    // RTTY parameters.
    auto *fraParams = new QGroupBox(QStringLiteral("RTTY Parameters"), this);
    fraParams->setObjectName(QStringLiteral("fraParameters"));
    auto *pg = new QGridLayout(fraParams);
    auto groupRow = [&](int r, const QString &title, const QString &labelName, QLabel *&label) {
        auto *t = new QLabel(title, fraParams);
        pg->addWidget(t, r, 0);
        label = makeLabel(labelName, QString(), fraParams);
        label->setMinimumWidth(kValueLabelWidth);
        pg->addWidget(label, r, 1);
    };
    groupRow(0, QStringLiteral("Baud"), QStringLiteral("lblBaud"), lblBaud);
    groupRow(1, QStringLiteral("Shift"), QStringLiteral("lblShift"), lblShift);
    groupRow(2, QStringLiteral("Pol."), QStringLiteral("lblPolarity"), lblPolarity);
    for (int i = 0; i < 3; ++i) {
        cmdBaud[i] = arrayButton(QStringLiteral("cmdBaud"), i, rttycodes::baudCaption(i), fraParams);
        pg->addWidget(cmdBaud[i], 0, 2 + i);
        connect(cmdBaud[i], &QPushButton::clicked, this, [this, i] { cmdBaud_Click(i); });
        cmdShift[i] = arrayButton(QStringLiteral("cmdShift"), i, rttycodes::shiftCaption(i), fraParams);
        pg->addWidget(cmdShift[i], 1, 2 + i);
        connect(cmdShift[i], &QPushButton::clicked, this, [this, i] { cmdShift_Click(i); });
    }
    for (int i = 0; i < 2; ++i) {
        cmdPolarity[i] = arrayButton(QStringLiteral("cmdPolarity"), i, rttycodes::polarityCaption(2, i), fraParams);
        pg->addWidget(cmdPolarity[i], 2, 2 + i);
        connect(cmdPolarity[i], &QPushButton::clicked, this, [this, i] { cmdPolarity_Click(i); });
    }
    row->addWidget(fraParams);

    // The NRD-545's own options.
    auto *opts = new QVBoxLayout;
    fraUnshift = new QGroupBox(QStringLiteral("Unshift on space"), this);
    fraUnshift->setObjectName(QStringLiteral("fraUnshift"));
    auto *ul = new QHBoxLayout(fraUnshift);
    optUnshift = new OptionGroup(this);
    ul->addWidget(optUnshift->add(0, QStringLiteral("optUnshift"), QStringLiteral("Off"), fraUnshift));
    ul->addWidget(optUnshift->add(1, QStringLiteral("optUnshift"), QStringLiteral("On"), fraUnshift));
    connect(optUnshift, &OptionGroup::clicked, this, &frmRtty::optUnshift_Click);
    fraError = new QGroupBox(QStringLiteral("Error display"), this);
    fraError->setObjectName(QStringLiteral("fraError"));
    auto *el = new QHBoxLayout(fraError);
    optError = new OptionGroup(this);
    el->addWidget(optError->add(0, QStringLiteral("optError"), QStringLiteral("Space"), fraError));
    el->addWidget(optError->add(1, QStringLiteral("optError"), QStringLiteral("* "), fraError));
    connect(optError, &OptionGroup::clicked, this, &frmRtty::optError_Click);
    opts->addWidget(fraUnshift);
    opts->addWidget(fraError);
    row->addLayout(opts);

    // Capture file.
    auto *fraFile = new QGroupBox(QStringLiteral("To File"), this);
    fraFile->setObjectName(QStringLiteral("fraToFile"));
    auto *fl = new QGridLayout(fraFile);
    for (int i = 0; i < 2; ++i) {
        cmdSave[i] = arrayButton(QStringLiteral("cmdSave"), i, i == 0 ? QStringLiteral("No") : QStringLiteral("Yes"),
                                 fraFile);
        fl->addWidget(cmdSave[i], 0, i);
        connect(cmdSave[i], &QPushButton::clicked, this, [this, i] { cmdSave_Click(i); });
    }
    fl->addWidget(new QLabel(QStringLiteral("Save (as)"), fraFile), 1, 0, 1, 2);
    lblSave = makeLabel(QStringLiteral("lblSave"), QStringLiteral("???"), fraFile);
    lblSave->setTextFormat(Qt::PlainText);
    lblSave->setAutoFillBackground(true);
    lblSave->setMinimumWidth(160);
    fl->addWidget(lblSave, 2, 0, 1, 2);
    row->addWidget(fraFile);

    // Commands.
    auto *cmds = new QVBoxLayout;
    cmdStart = makeButton(QStringLiteral("cmdStart"), QStringLiteral("Start"), this);
    cmdStop = makeButton(QStringLiteral("cmdStop"), QStringLiteral("Stop"), this);
    cmdCls = makeButton(QStringLiteral("cmdCls"), QStringLiteral("Cls"), this);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    for (QPushButton *b : {cmdStart, cmdStop, cmdCls, cmdExit})
        cmds->addWidget(b);
    row->addLayout(cmds);
    connect(cmdStart, &QPushButton::clicked, this, &frmRtty::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmRtty::cmdStop_Click);
    connect(cmdCls, &QPushButton::clicked, this, &frmRtty::cmdCls_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmRtty::cmdExit_Click);

    tmrGetRTTY.setObjectName(QStringLiteral("tmrGetRTTY"));
    tmrGetRTTY.setInterval(125);
    connect(&tmrGetRTTY, &QTimer::timeout, this, &frmRtty::tmrGetRTTY_Timer);
}

void frmRtty::Form_Load()
{
    // The window works for the receiver of the open panel.
    m_rxtype = goModel().rxtype;
    m_capturing = false;
    m_text.clear();
    showLines();
    tmrGetRTTY.stop();
    cmdStart->setEnabled(true);
    cmdCls->setEnabled(true);
    cmdExit->setEnabled(true);
    cmdStop->setEnabled(false);
    lblSave->setText(QStringLiteral("???"));

    CommControl &port = rxPort();
    m_params = rttycodes::startParameters(m_rxtype);
    for (int i = 0; i < 2; ++i)
        cmdPolarity[i]->setText(rttycodes::polarityCaption(m_rxtype, i));
    const RxModel &model = rxModel(m_rxtype);
    if (model.rtty) {
        std::unique_ptr<Receiver> rx = makeReceiver(m_rxtype, port);
        if (auto *j = dynamic_cast<JrcDriver *>(rx.get())) {
            rx.release();
            jrc.reset(j);
        }
    }
    // The decoder starts with normal polarity, whichever button holds it.
    const bool options = jrc && model.rttyCodes.unshiftAndErrors;
    cmdPolarity_Click(model.rttyCodes.reversedFirst ? 1 : 0);
    fraUnshift->setVisible(options);
    fraError->setVisible(options);
    if (options) {
        optUnshift->select(1);
        optError->select(1);
    }
    cmdBaud_Click(1);
    cmdShift_Click(1);
    cmdSave_Click(0);
}

void frmRtty::Form_Unload()
{
    m_receiving = false;
    Receiver::dropRttyReception(this);
    tmrGetRTTY.stop();
    setRtty(0);
    jrc.reset();
    rxPort().setKeepDiscarded(false);
    QFile &file = rttyCaptureFile();
    if (file.isOpen())
        file.close();
    m_capturing = false;
    // Option buttons start unselected at the next load, so that load sends them.
    for (OptionGroup *g : {optUnshift, optError})
        for (int i = 0; i < g->count(); ++i) {
            QRadioButton *b = g->button(i);
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
}

void frmRtty::sendParameters()
{
    if (jrc)
        jrc->setRttyParameters(m_params);
}

void frmRtty::setRtty(int16_t v)
{
    if (jrc)
        jrc->setRttyOnOff(v);
}

void frmRtty::cmdBaud_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    Busy busy(this);
    lblBaud->setText(cmdBaud[index]->text());
    m_params = rttycodes::withBaud(m_params, m_rxtype, index);
    sendParameters();
}

void frmRtty::cmdShift_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    Busy busy(this);
    lblShift->setText(cmdShift[index]->text());
    m_params = rttycodes::withShift(m_params, index);
    sendParameters();
}

void frmRtty::cmdPolarity_Click(int index)
{
    if (index < 0 || index > 1)
        return;
    Busy busy(this);
    lblPolarity->setText(cmdPolarity[index]->text());
    m_params = rttycodes::withPolarity(m_params, index);
    sendParameters();
}

void frmRtty::optUnshift_Click(int index)
{
    Busy busy(this);
    if (jrc && rxModel(m_rxtype).rttyCodes.unshiftAndErrors)
        jrc->setUserdefs(25, int16_t(index));
}

void frmRtty::optError_Click(int index)
{
    Busy busy(this);
    if (jrc && rxModel(m_rxtype).rttyCodes.unshiftAndErrors)
        jrc->setUserdefs(26, int16_t(index));
}

void frmRtty::cmdSave_Click(int index)
{
    QFile &file = rttyCaptureFile();
    if (index == 1) {
        // A new choice of file ends the capture into the old one.
        if (file.isOpen())
            file.close();
        m_capturing = true;
        {
            Busy busy(this);
            frmSavefile::showFor(FileKind::Rtty);
        }
        if (!isLoadedForm())
            return;
        // Leaving the dialog without a file means no capture rather than a
        // capture into nothing.
        if (!file.isOpen())
            cmdSave_Click(0);
        return;
    }
    m_capturing = false;
    if (file.isOpen())
        file.close();
    lblSave->setText(QString());
    setBackColor(lblSave, kNoFileColour);
}

void frmRtty::capture(const QStringList &lines)
{
    if (!m_capturing)
        return;
    QFile &file = rttyCaptureFile();
    errno = 0;
    if (appendCaptureLines(file, lines))
        return;
    const int err = errno;
    // A full disk or a size limit: the capture ends here, visibly, rather
    // than losing the text while the label still says it is being kept.
    const QString name = shownText(QFileInfo(file.fileName()).fileName(), 60);
    const QString why = writeErrorText(file, err);
    cmdSave_Click(0);
    msgBox(QStringList{QStringLiteral("The RTTY text could not be written to %1:").arg(name), shownText(why),
                       QStringLiteral("The capture has stopped.")},
           MsgIcon::Exclamation, QStringLiteral("Error"));
}

void frmRtty::showCaptureFile(const QString &name)
{
    setBackColor(lblSave, kCaptureColour);
    lblSave->setText(name);
}

QString frmRtty::panelFrequency() const
{
    return hub().panelFrequencyText();
}

void frmRtty::cmdStart_Click()
{
    Busy busy(this);
    cmdExit->setEnabled(false);
    cmdStart->setEnabled(false);
    cmdCls->setEnabled(false);
    CommControl &port = rxPort();
    // Decoded text that a receiver exchange would discard is kept for the reading.
    port.setKeepDiscarded(true);
    setRtty(1);
    // Stop only once the receiver has taken the command that Start sent.
    cmdStop->setEnabled(true);
    capture(rttyStartLines(G.lttext, G.utctext, panelFrequency(), m_params, m_rxtype));
    m_text.newLine();
    tmrGetRTTY.start();
    // A tool that switches the demodulator off for its work gives it back.
    m_receiving = true;
    Receiver::setRttyReception(this);
}

void frmRtty::cmdStop_Click()
{
    Busy busy(this);
    endReception(true);
}

void frmRtty::endReception(bool send)
{
    m_receiving = false;
    Receiver::dropRttyReception(this);
    tmrGetRTTY.stop();
    if (send)
        setRtty(0);
    rxPort().setKeepDiscarded(false);
    cmdExit->setEnabled(true);
    cmdStart->setEnabled(true);
    cmdCls->setEnabled(true);
    cmdStop->setEnabled(false);
    capture(rttyStopLines(G.lttext, G.utctext));
}

void frmRtty::receptionGivenBack(const QObject *tool)
{
    if (!m_receiving || !isLoadedForm())
        return;
    Busy busy(this);
    CommControl &port = rxPort();
    // The demodulator goes on as the listener set it. The receiver answers
    // in turn, so one that answers the read after the commands took them.
    bool on = jrc && !port.lost() && jrc->setRttyParameters(m_params) && jrc->setRttyOnOff(1);
    if (on)
        on = jrc->readSmeter().has_value();
    if (on)
        return;
    // Never shown as receiving while the demodulator is off. A lost line is
    // told by the panel's one message; nothing more is sent to it.
    const bool lost = port.lost();
    endReception(!lost);
    if (lost)
        return;
    const auto *form = qobject_cast<const TavForm *>(tool);
    const QString work = form ? QStringLiteral("the work of the ") + form->unsavedName()
                              : QStringLiteral("another window's work");
    msgBox(QStringList{port.silenceText(),
                       QStringLiteral("The RTTY demodulator, switched off for %1,").arg(work),
                       QStringLiteral("could not be switched on again: RTTY reception has stopped.")},
           MsgIcon::Exclamation, QStringLiteral("RTTY Decoder"));
}

void frmRtty::cmdCls_Click()
{
    m_text.clear();
    showLines();
}

void frmRtty::cmdExit_Click() { unload(); }

void frmRtty::tmrGetRTTY_Timer()
{
    // The receiver's replies belong to the exchange that asked for them.
    if (Exchange::active())
        return;
    // A lost line decodes nothing more: the window stops receiving rather
    // than show reception that cannot come. The panel tells the loss.
    if (m_receiving && rxPort().lost()) {
        endReception(false);
        return;
    }
    // Replies that came after their read gave up are no text.
    const QString chunk = QString::fromLatin1(rxPort().takeText());
    if (chunk.isEmpty())
        return;
    if (const QStringList done = m_text.take(chunk); !done.isEmpty())
        capture(done);
    showLines();
}

void frmRtty::showLines()
{
    for (int i = 0; i < RttyLines::kLines; ++i)
        lblRy[i]->setText(m_text.line(i));
}

} // namespace tav
