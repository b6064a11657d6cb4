#include "hub/frmSetUp.h"
#include "core/setupdata.h"

#include "core/comm.h"
#include "hub/frmWelcome.h"
#include "core/numtext.h"
#include "core/settings.h"
#include "core/textfile.h"

#include "core/ui.h"
#include "drivers/receiver.h"
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

namespace tav {

namespace {

QString idx(const char *base, int i) { return QLatin1String(base) + QLatin1Char('(') + QString::number(i) + QLatin1Char(')'); }

// A numeric box's rule: which setting it edits, its range, its default text,
// the message, the title and whether the focus goes back.
struct NumRule {
    Setting k;
    double lo, hi;
    const char *def;
    QStringList lines;
    bool focusBack;
};

const QStringList dimLines{QStringLiteral("Range is between"), QStringLiteral("1 and 30 (x 1000)")};
const QStringList levelLines{QStringLiteral("Level setting should"), QStringLiteral("be between 0 and 99")};

} // namespace

QLineEdit *frmSetUp::addText(const QString &name, QWidget *parent)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(name);
    t->installEventFilter(this);
    return t;
}

frmSetUp::frmSetUp() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Set Up"));
    auto *top = new QVBoxLayout(this);

    auto *genHead = makeLabel(QStringLiteral("lblGeneric"), QStringLiteral("Generic set-up options"), this);
    top->addWidget(genHead);
    auto *gen = new QGridLayout;
    top->addLayout(gen);

    auto *fCom = makeFrame(QStringLiteral("fraComm"), QStringLiteral("Comm Port"), this);
    auto *lCom = new QGridLayout(fCom);
    for (int i = 0; i < 5; ++i) {
        lCom->addWidget(optCom.add(i, QStringLiteral("optCom"), QStringLiteral("COM %1").arg(i + 1), fCom), i, 0);
        lblComDevice[i] = makeLabel(idx("lblComDevice", i), QString(), fCom);
        lCom->addWidget(lblComDevice[i], i, 1);
    }
    gen->addWidget(fCom, 0, 0, 2, 1);

    auto *fType = makeFrame(QStringLiteral("fraRxtype"), QStringLiteral("RX type"), this);
    auto *lType = new QVBoxLayout(fType);
    for (int i = 0; i < 5; ++i)
        lType->addWidget(optRxtype.add(i, QStringLiteral("optRxtype"), QLatin1String(rxModel(i).setupChoice), fType));
    gen->addWidget(fType, 0, 1, 2, 1);

    auto *fArea = makeFrame(QStringLiteral("fraRxtargetarea"), QStringLiteral("RX Target Area"), this);
    auto *lArea = new QGridLayout(fArea);
    const char *areas[] = {"NA", "CA", "SA", "EU", "AF", "ME", "AS", "AU", "PA"};
    for (int i = 0; i < 9; ++i)
        lArea->addWidget(optRxtargetarea.add(i, QStringLiteral("optRxtargetarea"), QLatin1String(areas[i]), fArea),
                         i % 5, i / 5);
    gen->addWidget(fArea, 0, 2, 2, 1);

    auto *fStep = makeFrame(QStringLiteral("fraStartstep"), QStringLiteral("Startup Freq. step"), this);
    auto *lStep = new QVBoxLayout(fStep);
    const char *steps[] = {"5", "9", "10"};
    for (int i = 0; i < 3; ++i)
        lStep->addWidget(optStartstep.add(i, QStringLiteral("optStartstep"), QLatin1String(steps[i]), fStep));
    gen->addWidget(fStep, 0, 3, 2, 1);

    auto boxed = [&](const char *fname, const char *caption, const char *tname, int r, int c, int span = 1) {
        auto *f = makeFrame(QLatin1String(fname), QLatin1String(caption), this);
        auto *l = new QVBoxLayout(f);
        QLineEdit *t = addText(QLatin1String(tname), f);
        l->addWidget(t);
        gen->addWidget(f, r, c, 1, span);
        return t;
    };
    txtDirpath = boxed("fraDirpath", "Dir Path", "txtDirpath", 2, 0, 2);
    txtLt2utc = boxed("fraLt2utc", "LT - UTC", "txtLt2utc", 2, 2);
    txtRxlatitude = boxed("fraRxlatitude", "RX Latitude", "txtRxlatitude", 3, 0);
    txtRxlongitude = boxed("fraRxlongitude", "RX Longitude", "txtRxlongitude", 3, 1);
    txtDimbdxc = boxed("fraDimbdxc", listSizeCaption(Setting::DimBdxc), "txtDimbdxc", 4, 0);
    txtDimown = boxed("fraDimown", listSizeCaption(Setting::DimOwn), "txtDimown", 4, 1);
    txtDimlog = boxed("fraDimlog", listSizeCaption(Setting::DimLog), "txtDimlog", 4, 2);
    txtDimilg = boxed("fraDimilg", listSizeCaption(Setting::DimIlg), "txtDimilg", 4, 3);

    top->addWidget(makeLabel(QStringLiteral("lblSpecific"), QStringLiteral("Receiver specific set-up options"), this));
    stack = new QWidget(this);
    stack->setObjectName(QStringLiteral("fraRxArea"));
    auto *stackLay = new QGridLayout(stack);
    stackLay->setContentsMargins(0, 0, 0, 0);
    top->addWidget(stack);
    for (int i = 0; i < 5; ++i) {
        fraRx[i] = makeFrame(idx("fraRx", i), QLatin1String(rxModel(i).setupFrame), stack);
        fraRx[i]->setVisible(false);
        stackLay->addWidget(fraRx[i], 0, 0); // the five frames share one place
    }

    // No RX
    (new QVBoxLayout(fraRx[0]))->addWidget(makeLabel(QStringLiteral("lblNoRx"), QStringLiteral("No special set-up necessary"), fraRx[0]));

    auto labelled = [&](QGridLayout *l, const QString &name, const char *label, QWidget *parent, int r, int c) {
        l->addWidget(makeLabel(QStringLiteral("lbl_") + name, QLatin1String(label), parent), r, c);
        QLineEdit *t = addText(name, parent);
        l->addWidget(t, r, c + 1);
        return t;
    };

    // AR7030
    {
        auto *l = new QHBoxLayout(fraRx[1]);
        auto *ff = makeFrame(QStringLiteral("fraARfilters"), QStringLiteral("Standard IF filter"), fraRx[1]);
        auto *fl = new QGridLayout(ff);
        const char *lbls[] = {"For AM", "For SSB", "For CW", "For FM"};
        for (int i = 0; i < 4; ++i)
            txtARoptions[i] = labelled(fl, idx("txtARoptions", i), lbls[i], ff, i, 0);
        l->addWidget(ff);
        auto *fs = makeFrame(QStringLiteral("fraLLLR"), QStringLiteral("LL+LR Scrollbars"), fraRx[1]);
        auto *sl = new QGridLayout(fs);
        txtLevelL = labelled(sl, QStringLiteral("txtLevelL"), "Level L", fs, 0, 0);
        txtLevelR = labelled(sl, QStringLiteral("txtLevelR"), "Level R", fs, 1, 0);
        chkDisableLLLR = new CheckBox(QStringLiteral("chkDisableLLLR"), QStringLiteral("Disabled"), fs);
        sl->addWidget(chkDisableLLLR, 2, 0, 1, 2);
        l->addWidget(fs);
    }
    // NRD-535
    {
        auto *l = new QHBoxLayout(fraRx[2]);
        auto *fo = makeFrame(QStringLiteral("fraNRDoptions"), QStringLiteral("NRD-535 options"), fraRx[2]);
        auto *ol = new QVBoxLayout(fo);
        const char *opts[] = {"1 kHz", "BWC", "ECSS", "RTTY"};
        for (int i = 0; i < 4; ++i) {
            chkNRDoptions[i] = new CheckBox(idx("chkNRDoptions", i), QLatin1String(opts[i]), fo);
            ol->addWidget(chkNRDoptions[i]);
        }
        l->addWidget(fo);
    }
    // RX-320
    {
        auto *l = new QHBoxLayout(fraRx[3]);
        auto *fc = makeFrame(QStringLiteral("fraFreqcorr"), QStringLiteral("Freq. corrections"), fraRx[3]);
        auto *cl = new QGridLayout(fc);
        txtFreqcorr[0] = labelled(cl, idx("txtFreqcorr", 0), " at 5 MHz", fc, 0, 0);
        txtFreqcorr[1] = labelled(cl, idx("txtFreqcorr", 1), "at 15 MHz", fc, 1, 0);
        l->addWidget(fc);
        auto *fm = makeFrame(QStringLiteral("fraMute"), QStringLiteral("Mute on exit"), fraRx[3]);
        auto *ml = new QVBoxLayout(fm);
        chkMute[0] = new CheckBox(idx("chkMute", 0), QStringLiteral("Loudspeaker"), fm);
        chkMute[1] = new CheckBox(idx("chkMute", 1), QStringLiteral("Line"), fm);
        ml->addWidget(chkMute[0]);
        ml->addWidget(chkMute[1]);
        l->addWidget(fm);
        auto *fl = makeFrame(QStringLiteral("fraLine"), QStringLiteral("Line Scrollbar"), fraRx[3]);
        auto *ll = new QGridLayout(fl);
        txtLevel = labelled(ll, QStringLiteral("txtLevel"), "Level", fl, 0, 0);
        chkDisableLL = new CheckBox(QStringLiteral("chkDisableLL"), QStringLiteral(" Disabled"), fl);
        ll->addWidget(chkDisableLL, 1, 0, 1, 2);
        l->addWidget(fl);
    }
    // NRD-545
    {
        auto *l = new QHBoxLayout(fraRx[4]);
        auto *fa = makeFrame(QStringLiteral("fraAgctc"), QStringLiteral("AGC (x 200msec) "), fraRx[4]);
        auto *al = new QGridLayout(fa);
        const char *agc[] = {"Fast", "Med", "Slow"};
        for (int i = 0; i < 3; ++i)
            txtAgctc[i] = labelled(al, idx("txtAgctc", i), agc[i], fa, i, 0);
        l->addWidget(fa);
        auto *fn = makeFrame(QStringLiteral("fraNrbc"), QStringLiteral("NR/BC default"), fraRx[4]);
        auto *nl = new QGridLayout(fn);
        txtNrbc[0] = labelled(nl, idx("txtNrbc", 0), "NR", fn, 0, 0);
        txtNrbc[1] = labelled(nl, idx("txtNrbc", 1), "BC", fn, 1, 0);
        l->addWidget(fn);
    }

    auto *buttons = new QHBoxLayout;
    auto mkButton = [&](const char *name, const char *caption) {
        auto *b = new QPushButton(QLatin1String(caption), this);
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b);
        return b;
    };
    cmdReload = mkButton("cmdReload", "Reload");
    cmdSave = mkButton("cmdSave", "Save");
    cmdClose = mkButton("cmdClose", "Close");
    top->addLayout(buttons);

    // Choices take effect the moment they are made.
    connect(&optCom, &OptionGroup::clicked, this, [](int i) { setting(Setting::ComPort) = float(i + 1); });
    connect(&optRxtargetarea, &OptionGroup::clicked, this, [](int i) { setting(Setting::TargetArea) = float(i); });
    connect(&optStartstep, &OptionGroup::clicked, this, [](int i) { setting(Setting::StartStep) = float(i); });
    connect(&optRxtype, &OptionGroup::clicked, this, [this](int i) {
        G.rxtype = int16_t(i);
        if (frmWelcome::exists())
            frmWelcome::instance()->setGoLabel(i);
        showFrame(i);
    });
    for (int i = 0; i < 4; ++i)
        connect(chkNRDoptions[i], &CheckBox::clickedValue, this, [i](int v) { setting(nrd535Option(i)) = float(v); });
    for (int i = 0; i < 2; ++i)
        connect(chkMute[i], &CheckBox::clickedValue, this, [i](int v) { setting(rx320Mute(i)) = float(v); });
    connect(chkDisableLLLR, &CheckBox::clickedValue, this, [](int v) { setting(Setting::Ar7030LineBarsOff) = float(v); });
    connect(chkDisableLL, &CheckBox::clickedValue, this, [](int v) { setting(Setting::Rx320LineBarOff) = float(v); });
    connect(cmdReload, &QPushButton::clicked, this, &frmSetUp::cmdReload_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmSetUp::cmdSave_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSetUp::cmdClose_Click);
}

void frmSetUp::showFrame(int rxtype)
{
    // The area the receiver frames share keeps the size of the largest, so
    // no other control moves when the receiver type changes (a second click
    // at the same place hits the same control).
    QSize largest;
    for (int i = 0; i < 5; ++i) {
        fraRx[i]->setVisible(false);
        largest = largest.expandedTo(fraRx[i]->sizeHint());
    }
    stack->setMinimumSize(largest);
    if (rxtype >= 0 && rxtype <= 4)
        fraRx[rxtype]->setVisible(true);
}

void frmSetUp::showComDevices()
{
    for (int i = 0; i < 5; ++i)
        lblComDevice[i]->setText(shownText(CommControl::deviceForPort(i + 1), 60));
}

void frmSetUp::Form_Load() { fillControls(); }

void frmSetUp::fillControls()
{
    m_checking = true; // filling the boxes is not the user leaving them
    txtDirpath->setText(G.datapath);
    txtRxlatitude->setText(G.rxlatitude);
    txtRxlongitude->setText(G.rxlongitude);
    showComDevices();
    optRxtype.select(G.rxtype);
    optCom.select(settingInt(Setting::ComPort) - 1);
    optRxtargetarea.select(settingInt(Setting::TargetArea));
    optStartstep.select(settingInt(Setting::StartStep));
    const std::pair<QLineEdit *, Setting> num[] = {{txtLt2utc, Setting::UtcOffsetHours},
                                                   {txtDimbdxc, Setting::DimBdxc},
                                                   {txtDimown, Setting::DimOwn},
                                                   {txtDimlog, Setting::DimLog},
                                                   {txtDimilg, Setting::DimIlg}};
    for (const auto &[box, k] : num)
        box->setText(numSingle(setting(k)));
    for (int i = 0; i < 4; ++i)
        txtARoptions[i]->setText(numSingle(setting(ar7030Filter(i))));
    for (int i = 0; i < 2; ++i)
        txtFreqcorr[i]->setText(numSingle(setting(rx320Correction(i))));
    showFrame(G.rxtype);
    for (int i = 0; i < 4; ++i)
        chkNRDoptions[i]->setValue(int(setting(nrd535Option(i))));
    for (int i = 0; i < 2; ++i)
        chkMute[i]->setValue(int(setting(rx320Mute(i))));
    chkDisableLLLR->setValue(int(setting(Setting::Ar7030LineBarsOff)));
    chkDisableLL->setValue(int(setting(Setting::Rx320LineBarOff)));
    for (int i = 0; i < 3; ++i)
        txtAgctc[i]->setText(numPlain(setting(nrd545AgcFactor(i))));
    for (int i = 0; i < 2; ++i)
        txtNrbc[i]->setText(numPlain(setting(nrd545DspDefault(i))));
    txtLevelL->setText(padded(roundHalfEven(setting(Setting::Ar7030LineLevelL)), 2));
    txtLevelR->setText(padded(roundHalfEven(setting(Setting::Ar7030LineLevelR)), 2));
    txtLevel->setText(padded(roundHalfEven(setting(Setting::Rx320LineLevel)), 2));
    m_checking = false;
}

bool frmSetUp::eventFilter(QObject *obj, QEvent *ev)
{
    if (ev->type() == QEvent::FocusOut) {
        // Only the focus moving to another control of the dialog ends an
        // entry; another window, a menu or a context menu taking it does not.
        const Qt::FocusReason why = static_cast<QFocusEvent *>(ev)->reason();
        const bool leftDialog =
            why == Qt::ActiveWindowFocusReason || why == Qt::PopupFocusReason || why == Qt::MenuBarFocusReason;
        if (auto *box = qobject_cast<QLineEdit *>(obj); box && !leftDialog)
            checkBox(box);
    }
    return TavForm::eventFilter(obj, ev);
}

bool frmSetUp::checkBox(QLineEdit *box)
{
    if (m_checking || !isLoadedForm())
        return true;
    m_checking = true;
    bool accepted = true;
    auto reject = [&](const QString &defText, const QStringList &lines, const QString &title, bool focusBack) {
        accepted = false;
        box->setText(defText);
        msgBox(lines, MsgIcon::Exclamation, title);
        if (focusBack)
            box->setFocus();
    };
    const QString text = box->text();

    if (box == txtDirpath) {
        QString path = expandHomePath(text.trimmed());
        const bool empty = path.isEmpty();
        if (!empty && !path.endsWith(QLatin1Char('/'))) {
            path += QLatin1Char('/');
            box->setText(path);
        }
        G.datapath = path;
        if (empty || !path.startsWith(QLatin1Char('/'))) {
            G.datapath = defaultDatapath();
            reject(defaultDatapath(), {QStringLiteral("Invalid path"), QStringLiteral("Example ") + defaultDatapath()},
                   QStringLiteral("Default"), true);
        } else if (!datapathStorable(path)) {
            // The settings file is Latin-1; a name it cannot hold would be
            // saved changed and the next start would look in another place.
            G.datapath = defaultDatapath();
            reject(defaultDatapath(),
                   {QStringLiteral("Invalid path"),
                    QStringLiteral("The directory name holds characters that the settings file cannot keep"),
                    QStringLiteral("(only Latin-1 letters, or a directory in your home folder)."),
                    QStringLiteral("Example ") + defaultDatapath()},
                   QStringLiteral("Default"), true);
        }
        // The devices are named in "comports.ini" of the data directory.
        showComDevices();
    } else if (box == txtLt2utc) {
        double v = leadingNumber(text);
        if (v != std::floor(v))
            v = std::floor(v) + 0.5;
        setting(Setting::UtcOffsetHours) = float(v);
        const QStringList lines{QStringLiteral("Range is between"), QStringLiteral("+13 and -13 h")};
        if (text.isEmpty() || v < -13 || v > 13) {
            setting(Setting::UtcOffsetHours) = 0;
            reject(QStringLiteral("0"), lines, QStringLiteral("Default 1"), true);
        } else {
            bool ok = true;
            for (int i = 0; i < text.size(); ++i) {
                const ushort c = text[i].unicode();
                const bool allowed = (c >= '0' && c <= ':') || c == '+' || c == '-' || c == '.' || (c == ' ' && i == 0);
                if (!allowed)
                    ok = false;
            }
            if (!ok) {
                setting(Setting::UtcOffsetHours) = 0;
                reject(QStringLiteral("0"), lines, QStringLiteral("Default 2"), true);
            }
        }
    } else if (box == txtRxlatitude) {
        G.rxlatitude = text;
        const double v = leadingNumber(text);
        const bool ok = text.size() == 5 && (text.endsWith(QLatin1Char('N')) || text.endsWith(QLatin1Char('S'))) &&
                        v > 0 && v < 9000;
        if (!ok) {
            G.rxlatitude = defaultLatitude();
            reject(defaultLatitude(), {QStringLiteral("Invalid Latitude"), QStringLiteral("Example: ") + defaultLatitude()},
                   QStringLiteral("Default"), true);
        }
    } else if (box == txtRxlongitude) {
        G.rxlongitude = text;
        const double v = leadingNumber(text);
        const bool ok = (text.size() == 5 || text.size() == 6) &&
                        (text.endsWith(QLatin1Char('E')) || text.endsWith(QLatin1Char('W'))) && v > 0 && v < 18000;
        if (!ok) {
            G.rxlongitude = defaultLongitude();
            reject(defaultLongitude(),
                   {QStringLiteral("Invalid Longitude"), QStringLiteral("Example: ") + defaultLongitude()},
                   QStringLiteral("Default"), true);
        }
    } else {
        static const QStringList filterLines{QStringLiteral("Filter number should be"),
                                             QStringLiteral("within the range 1 to 6")};
        static const QStringList corrLines{QStringLiteral("Frequency error correction"),
                                           QStringLiteral("should be within the range"),
                                           QStringLiteral("+ 1000 to - 1000 Hz")};
        static const QStringList agcLines{QStringLiteral("AGC time constant factor"),
                                          QStringLiteral("should be between 1 and 9")};
        static const QStringList nrLines{QStringLiteral("Noise reduction or Beat Canceller effect"),
                                         QStringLiteral("should be between 0 and 255")};
        struct Rule {
            QLineEdit *box;
            NumRule rule;
        };
        const Rule rules[] = {
            {txtDimbdxc, {Setting::DimBdxc, 1, kListSizeLargest, "2", dimLines, true}},
            {txtDimown, {Setting::DimOwn, 1, kListSizeLargest, "1", dimLines, true}},
            {txtDimlog, {Setting::DimLog, 1, kListSizeLargest, "1", dimLines, true}},
            {txtDimilg, {Setting::DimIlg, 1, kListSizeLargest, "15", dimLines, true}},
            {txtARoptions[0], {Setting::Ar7030FilterAm, 1, 6, "1", filterLines, false}},
            {txtARoptions[1], {Setting::Ar7030FilterSsb, 1, 6, "1", filterLines, false}},
            {txtARoptions[2], {Setting::Ar7030FilterCw, 1, 6, "1", filterLines, false}},
            {txtARoptions[3], {Setting::Ar7030FilterFm, 1, 6, "1", filterLines, false}},
            {txtFreqcorr[0], {Setting::Rx320Corr5MHz, -1000, 1000, "0", corrLines, true}},
            {txtFreqcorr[1], {Setting::Rx320Corr15MHz, -1000, 1000, "0", corrLines, true}},
            {txtLevelL, {Setting::Ar7030LineLevelL, 0, 99, "0", levelLines, true}},
            {txtLevelR, {Setting::Ar7030LineLevelR, 0, 99, "0", levelLines, true}},
            {txtLevel, {Setting::Rx320LineLevel, 0, 99, "0", levelLines, true}},
            {txtAgctc[0], {Setting::Nrd545AgcFast, 1, 9, "1", agcLines, false}},
            {txtAgctc[1], {Setting::Nrd545AgcMed, 1, 9, "3", agcLines, false}},
            {txtAgctc[2], {Setting::Nrd545AgcSlow, 1, 9, "9", agcLines, false}},
            {txtNrbc[0], {Setting::Nrd545NrDefault, 0, 255, "50", nrLines, false}},
            {txtNrbc[1], {Setting::Nrd545BcDefault, 0, 255, "20", nrLines, false}},
        };
        for (const Rule &r : rules) {
            if (r.box != box)
                continue;
            const double v = leadingNumber(text);
            setting(r.rule.k) = float(v);
            if (!(v >= r.rule.lo && v <= r.rule.hi)) {
                setting(r.rule.k) = float(leadingNumber(QLatin1String(r.rule.def)));
                reject(QLatin1String(r.rule.def), r.rule.lines, QStringLiteral("Default"), r.rule.focusBack);
            }
            break;
        }
    }
    m_checking = false;
    return accepted;
}

void frmSetUp::cmdReload_Click()
{
    placeAgain();
    fillControls();
}

void frmSetUp::cmdSave_Click()
{
    // An entry still being typed (Save pressed from the keyboard) is checked
    // first; a rejected one keeps the dialog open with its default shown.
    if (auto *box = qobject_cast<QLineEdit *>(focusWidget()); box && !checkBox(box))
        return;
    unload();
    QString error;
    bool ok;
    {
        HourglassGuard busy;
        ok = saveSettingsFile(&error);
    }
    if (!ok) {
        msgBox(QStringList{QStringLiteral("The settings could not be saved:"), shownText(error, 300)}, MsgIcon::Exclamation,
               QStringLiteral("Save INI"));
        return;
    }
    msgBox(QStringLiteral("New INI data is now saved"), MsgIcon::Exclamation, QStringLiteral("Save INI"));
}

void frmSetUp::cmdClose_Click() { unload(); }

} // namespace tav
