#include "memories/frmMemcell.h"

#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/ui.h"
#include "drivers/memrecord.h"
#include "drivers/receiver.h"
#include "memories/frmMemman.h"
#include "memories/memcell.h"
#include "memories/memimage.h"
#include "memories/memtext.h"

#include <QGridLayout>
#include <QSignalBlocker>

namespace tav {

namespace {

template <class Table> QStringList names(const Table &t, int lo, int hi)
{
    QStringList out;
    for (int i = lo; i <= hi && i < int(t.size()); ++i)
        out << t[i];
    return out;
}

QStringList sqlTexts()
{
    QStringList out;
    for (int i = 0; i <= 99; ++i)
        out << padded(i, 2);
    return out;
}

QStringList pbsTexts() { return names(G.pbstext, 0, 84); }

int digitAt(const QString &record, int pos) { return int(leadingNumber(record.mid(pos - 1, 1))); }

} // namespace

frmMemcell::frmMemcell() : TavForm(windowId)
{
    auto *g = new QGridLayout(this);
    auto combo = [this](const char *name) { return makeEntryCombo(QLatin1String(name), this); };
    auto label = [this](const char *name, const char *text) { return makeLabel(QLatin1String(name), QLatin1String(text), this); };

    lblCellnr = label("lblCellnr", "Cell nr");
    cmbCellnr = combo("cmbCellnr");
    lblFreq1 = label("lblFreq1", "Frequency");
    lblFreq2 = label("lblFreq2", "Frequency");
    txtFrequency = new QLineEdit(this);
    txtFrequency->setObjectName(QStringLiteral("txtFrequency"));
    lblMode = label("lblMode", "Mode");
    cmbMode = combo("cmbMode");
    lblBandwidth = label("lblBandwidth", "Bandwidth");
    cmbBandwidth = combo("cmbBandwidth");
    lblAttenuator = label("lblAttenuator", "Attenuator");
    cmbAttenuator = combo("cmbAttenuator");
    lblAgcspeed = label("lblAgcspeed", "AGC");
    cmbAgcspeed = combo("cmbAgcspeed");
    lblPBS = label("lblPBS", "PBS");
    cmbPBS = combo("cmbPBS");
    lblSqlBfo = label("lblSqlBfo", "Sql/BFO");
    cmbSqlBfo = combo("cmbSqlBfo");
    lblScanyn = label("lblScanyn", "Scan Y/N");
    cmbScanyn = combo("cmbScanyn");
    lblMemtag1 = label("lblMemtag1", "Add. info");
    lblMemtag2 = label("lblMemtag2", "Add. info");
    txtMemtag = new QLineEdit(this);
    txtMemtag->setObjectName(QStringLiteral("txtMemtag"));
    txtMemtag->setMaxLength(kMemInfoLength);
    keepLatin1(txtMemtag, QStringLiteral("The memory tag"));

    // Two columns of boxes, each with its name at the outer edge.
    // The frequency box spans both columns, named at both edges like the tag.
    g->addWidget(lblCellnr, 0, 0);
    g->addWidget(cmbCellnr, 0, 1);
    g->addWidget(cmbMode, 0, 2);
    g->addWidget(lblMode, 0, 3);
    g->addWidget(lblFreq1, 1, 0);
    g->addWidget(txtFrequency, 1, 1, 1, 2);
    g->addWidget(lblFreq2, 1, 3);
    g->addWidget(lblBandwidth, 2, 0);
    g->addWidget(cmbBandwidth, 2, 1);
    g->addWidget(lblAttenuator, 2, 3);
    g->addWidget(cmbAttenuator, 2, 2);
    g->addWidget(lblAgcspeed, 3, 0);
    g->addWidget(cmbAgcspeed, 3, 1);
    g->addWidget(lblPBS, 3, 3);
    g->addWidget(cmbPBS, 3, 2);
    g->addWidget(lblSqlBfo, 4, 0);
    g->addWidget(cmbSqlBfo, 4, 1);
    g->addWidget(lblScanyn, 4, 3);
    g->addWidget(cmbScanyn, 4, 2);
    g->addWidget(lblMemtag1, 5, 0);
    g->addWidget(txtMemtag, 5, 1, 1, 2);
    g->addWidget(lblMemtag2, 5, 3);
    cmdToMMWorRM[0] = arrayButton(QStringLiteral("cmdToMMWorRM"), 0, QStringLiteral("To MMW"), this);
    cmdToMMWorRM[1] = arrayButton(QStringLiteral("cmdToMMWorRM"), 1, QStringLiteral("To RxM"), this);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Exit"), this);
    g->addWidget(cmdToMMWorRM[0], 6, 0);
    g->addWidget(cmdToMMWorRM[1], 6, 1);
    g->addWidget(cmdCancel, 6, 3);

    connect(cmdToMMWorRM[0], &QPushButton::clicked, this, [this] { cmdToMMWorRM_Click(0); });
    connect(cmdToMMWorRM[1], &QPushButton::clicked, this, [this] { cmdToMMWorRM_Click(1); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmMemcell::cmdCancel_Click);
    connect(cmbMode, &QComboBox::currentTextChanged, this, [this] { cmbMode_Change(); });
}

frmMemcell::~frmMemcell() = default;

void frmMemcell::fillList(QComboBox *box, const QStringList &items, bool enabled)
{
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    box->setEnabled(enabled);
}

void frmMemcell::sqlList(bool bfo)
{
    lblSqlBfo->setText(bfo ? QStringLiteral("BFO") : QStringLiteral("Sql"));
    fillList(cmbSqlBfo, bfo ? pbsTexts() : sqlTexts(), true);
}

void frmMemcell::Form_Load()
{
    const MemoryState &m = memState();
    m_shown = MemCellShown();
    m_rxtype = memRxtype();
    m_rx = rxModel(m_rxtype).isNone() ? nullptr : makeReceiver();
    QStringList cells;
    for (int i = 0; i <= goModel().lastCell; ++i)
        cells << cellText(i);
    fillList(cmbCellnr, cells, true);
    txtFrequency->clear();
    txtMemtag->clear();

    // Each field the model's records keep offers the names of its values;
    // the others stay empty and closed (mode and width stay open to typing).
    const MemoryRanges &kept = rxModel(m_rxtype).memory;
    auto offer = [this](QComboBox *box, const std::optional<IntRange> &range, const auto &table, bool openWithout) {
        fillList(box, range ? names(table, range->lo, range->hi) : QStringList(), range || openWithout);
    };
    offer(cmbMode, kept.mode, G.modenames, true);
    offer(cmbBandwidth, kept.bandwidth, G.bwnames, true);
    offer(cmbAttenuator, kept.attenuator, G.attnames, false);
    offer(cmbAgcspeed, kept.agc, G.agcnames, false);
    fillList(cmbPBS, kept.pbs ? pbsTexts() : QStringList(), bool(kept.pbs));
    offer(cmbScanyn, kept.scan, G.yesno, false);
    if (kept.sqlbfo) {
        sqlList(rxModel(m_rxtype).keepsBfo(digitAt(m.image.record(m.memcellnr), 17)));
    } else {
        fillList(cmbSqlBfo, {}, false);
    }
    cmdToMMWorRM[1]->setEnabled(rxModel(m_rxtype).lastChannel.has_value());

    cmbCellnr->setEditText(cellText(m.memcellnr));
    if (m.memcellaction == 2)
        showReceiverSetting();
    else
        showCell(m.memcellnr);
    m_shown.texts = fields();
    cmbCellnr->setEnabled(m.memcellaction == 2 || m.memcellaction == 3);
}

void frmMemcell::Form_Unload() { m_rx.reset(); }

void frmMemcell::showCell(int cell)
{
    const MemImage &image = memState().image;
    if (!image.held(cell))
        return; // a cell never held has nothing to show
    const QString r = image.record(cell);
    auto r_ = [&r](MemField f) { return memFieldValue(r, f); };
    // A field without a value ("@") came with none.
    m_shown.keepValues(MemRecord::parse(r));
    txtFrequency->setText(r.mid(7, 5) + QLatin1Char('.') + r.mid(12, 3));
    cmbMode->setEditText(tableName(G.modenames, r_(memcol::Mode)));
    cmbBandwidth->setEditText(tableName(G.bwnames, r_(memcol::Bandwidth)));
    QString tag = image.info(cell);
    while (tag.endsWith(QLatin1Char(' ')))
        tag.chop(1);
    txtMemtag->setText(tag);
    const RxModel &model = rxModel(m_rxtype);
    const MemoryRanges &kept = model.memory;
    if (kept.attenuator)
        cmbAttenuator->setEditText(tableName(G.attnames, r_(memcol::Attenuator)));
    if (kept.agc)
        cmbAgcspeed->setEditText(tableName(G.agcnames, r_(memcol::Agc)));
    if (kept.pbs)
        cmbPBS->setEditText(model.shiftText(int(r_(memcol::PassBandShift))));
    if (kept.sqlbfo) {
        const int mode = int(r_(memcol::Mode));
        lblSqlBfo->setText(model.keepsBfo(mode) ? QStringLiteral("BFO") : QStringLiteral("Sql"));
        cmbSqlBfo->setEditText(model.sqlBfoText(mode, int(r_(memcol::SqlBfo))));
    }
    if (kept.scan)
        cmbScanyn->setEditText(tableName(G.yesno, r_(memcol::Scan)));
}

void frmMemcell::showReceiverSetting()
{
    if (!m_rx)
        return;
    const RxPresent p = m_rx->readPresent(&showOnOpenPanel);
    if (!p.carriesFrequency) {
        if (HubPanel *panel = hubExists() ? hub().openPanel() : nullptr)
            txtFrequency->setText(panel->frequencyText());
    }
    if (!p.answered)
        return; // no answer: the boxes stay empty
    m_shown.keepValues(p);
    if (p.carriesFrequency)
        txtFrequency->setText(p.frequency);
    if (p.mode)
        cmbMode->setEditText(tableName(G.modenames, *p.mode));
    if (p.bandwidth)
        cmbBandwidth->setEditText(tableName(G.bwnames, *p.bandwidth));
    if (p.attenuator)
        cmbAttenuator->setEditText(tableName(G.attnames, *p.attenuator));
    if (p.agc)
        cmbAgcspeed->setEditText(tableName(G.agcnames, *p.agc));
    const RxModel &model = rxModel(m_rxtype);
    if (p.pbs)
        cmbPBS->setEditText(model.shiftText(*p.pbs));
    if (p.sqlbfo) {
        // The mode says whether this field holds a BFO offset or a squelch.
        const int mode = p.mode.value_or(-1);
        sqlList(model.keepsBfo(mode));
        cmbSqlBfo->setEditText(model.sqlBfoText(mode, *p.sqlbfo));
    }
    if (p.scan) {
        // A model that scans its channels starts a fresh one: no tag yet.
        cmbScanyn->setEditText(tableName(G.yesno, *p.scan));
        txtMemtag->clear();
    }
}

void frmMemcell::cmbMode_Change()
{
    const RxModel &model = rxModel(m_rxtype);
    if (!model.memory.sqlbfo)
        return;
    // The mode named in the box, among the model's modes.
    const std::optional<IntRange> modes = model.memory.mode;
    const std::optional<int> mode = modes ? nameIndex(G.modenames, cmbMode->currentText(), modes->lo, modes->hi) : std::nullopt;
    const bool bfo = mode && model.keepsBfo(*mode);
    sqlList(bfo);
    cmbSqlBfo->setEditText(bfo ? QStringLiteral(" 0.0k") : QStringLiteral("00"));
}

MemCellFields frmMemcell::fields() const
{
    MemCellFields f;
    f.cell = cmbCellnr->currentText();
    f.frequency = txtFrequency->text();
    f.mode = cmbMode->currentText();
    f.bandwidth = cmbBandwidth->currentText();
    f.attenuator = cmbAttenuator->currentText();
    f.agc = cmbAgcspeed->currentText();
    f.pbs = cmbPBS->currentText();
    f.sqlbfo = cmbSqlBfo->currentText();
    f.scan = cmbScanyn->currentText();
    f.tag = txtMemtag->text();
    return f;
}

void frmMemcell::cmdToMMWorRM_Click(int index)
{
    MemoryState &m = memState();
    if (m.transferring) {
        msgBox(QStringList{QStringLiteral("Wait until the transfer with the"), QStringLiteral("receiver has ended")},
               MsgIcon::Exclamation, QStringLiteral("Memory transfer"));
        return;
    }
    const int action = m.memcellaction;
    const MemCellBuild b = buildMemCell(fields(), m_rxtype, action, &m_shown);
    if (b.cell)
        m.memcellnr = *b.cell;
    if (!b.ok()) {
        msgBox(b.error, MsgIcon::Exclamation, b.errorTitle);
        return;
    }
    const QString cell = cellText(*b.cell);
    const bool toRx = index == 1;
    if (toRx && workingChannel(m_rxtype) == *b.cell) {
        msgBox(workingChannelNotice(*b.cell), MsgIcon::Exclamation, QStringLiteral("Receiver memory not changed"));
        return;
    }
    QStringList question;
    if (action == 4)
        question = {toRx ? QStringLiteral("You want to empty the receiver") : QStringLiteral("You want to empty the MemMan"),
                    (toRx ? QStringLiteral("memory cell ") : QStringLiteral("Window cell ")) + cell};
    else
        question = {toRx ? QStringLiteral("You want to fill the receiver") : QStringLiteral("You want to fill the MemMan"),
                    (toRx ? QStringLiteral("memory cell ") : QStringLiteral("Window row ")) + cell
                        + QStringLiteral(" with the"),
                    QStringLiteral("settings shown")};
    if (msgBox(question, MsgIcon::Question,
               toRx ? QStringLiteral("Adapt Receiver Memory") : QStringLiteral("Adapt MemMan Window"),
               MsgButtons::YesNoCancel) != vbYes)
        return;
    if (toRx && !m_rx)
        return;

    m.image.setRecord(*b.cell, b.record);
    m.image.setInfo(*b.cell, b.info);
    if (!toRx) {
        if (auto *mm = Windows::existing<frmMemman>())
            mm->formatmemx2list(*b.cell);
        msgBox(QStringList{QStringLiteral("MemMan Window row"), cell + QStringLiteral(" is now updated")},
               MsgIcon::Information, QStringLiteral("MemMan Window changed"));
        return;
    }
    // The NRD-545 keeps no empty channel: for an empty record it stores
    // nothing, and the user must hear that the channel stayed as it was.
    if (!rxModel(m_rxtype).emptiesChannels && memFieldText(b.record, memcol::Kind) == QLatin1String("XXX")) {
        msgBox(QStringList{QStringLiteral("Receiver memory cell"), cell + QStringLiteral(" is not changed:"),
                           QStringLiteral("this receiver cannot empty a memory cell")},
               MsgIcon::Exclamation, QStringLiteral("Receiver memory not changed"));
        return;
    }
    if (!m_rx->writeMemory(*b.cell, m.image.record(*b.cell))) {
        msgBox(QStringList{QStringLiteral("Receiver memory cell"), cell + QStringLiteral(" could not be written")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    msgBox(QStringList{QStringLiteral("Receiver memory cell"), cell + QStringLiteral(" is now updated")},
           MsgIcon::Information, QStringLiteral("Receiver memory is changed"));
}

void frmMemcell::cmdCancel_Click() { unload(); }

} // namespace tav
