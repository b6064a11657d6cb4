#include "stations/stationlist.h"
#include "stations/queryini.h"

#include "core/tickguard.h"
#include "core/exchange.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "drivers/receiver.h"
#include "stations/ftlrecord.h"
#include "stations/stationstate.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace tav {

namespace {

QFont monoFont()
{
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    mono.setFixedPitch(true);
    return mono;
}

constexpr int kSmallList = 3390, kSmallWindow = 4980, kLargeList = 6780, kLargeWindow = 8370;

} // namespace

ColumnTitles::ColumnTitles(const QString &text, QListView *list, QWidget *parent) : QLabel(text, parent), m_list(list)
{
    setTextFormat(Qt::PlainText);
    connect(list->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { update(); });
}

void ColumnTitles::setColumns(const QVector<int> &whole, const QVector<int> &found)
{
    m_whole = whole;
    m_found = found.isEmpty() ? whole : found;
    disconnect(m_modelReset);
    if (auto *model = m_list->model())
        m_modelReset = connect(model, &QAbstractItemModel::modelReset, this, [this] { update(); });
    update();
}

qreal ColumnTitles::titleX(int i) const
{
    const auto *model = qobject_cast<const StationLinesModel *>(m_list->model());
    const QVector<int> &columns = model && !model->whole() ? m_found : m_whole;
    if (i < 0 || i >= columns.size())
        return -1;
    const QFontMetricsF list(m_list->font());
    // Where the list's text begins, seen from this label: the item's text
    // margin inside the viewport, less what the list is scrolled sideways.
    const int margin = m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1;
    const int origin = m_list->viewport()->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x() +
                       margin - m_list->horizontalScrollBar()->value();
    return origin + list.horizontalAdvance(QString(columns[i] - 1, QLatin1Char(' ')));
}

void ColumnTitles::paintEvent(QPaintEvent *e)
{
    if (m_whole.isEmpty()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    const QStringList titles = text().split(QLatin1Char('|'));
    const QFontMetrics own(font());
    const int baseline = (height() + own.ascent() - own.descent()) / 2;
    for (int i = 0; i < titles.size(); ++i)
        if (const qreal x = titleX(i); x >= 0)
            p.drawText(QPointF(x, baseline), titles[i].trimmed());
}

void StationLinesModel::setLines(const StationRecords &recs, const QVector<int> &rows, bool whole)
{
    beginResetModel();
    m_recs = recs;
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (int r : rows)
        if (r >= 0 && r < recs.size())
            m_rows.append(r);
    m_whole = whole;
    endResetModel();
}

void StationLinesModel::clear()
{
    beginResetModel();
    m_recs = StationRecords();
    m_rows.clear();
    endResetModel();
}

QString StationLinesModel::line(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return QString();
    const char *r = m_recs.data(m_rows[row]);
    return m_whole ? QString::fromLatin1(r, StationRecords::kWidth) : ilgSearchLine(r);
}

double StationLinesModel::frequency(int row) const
{
    return row < 0 || row >= m_rows.size() ? 0 : ftl::frequency(m_recs.data(m_rows[row]));
}

QVariant StationLinesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return line(index.row());
}

QStringList StationLinesModel::stringList() const
{
    QStringList out;
    out.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        out.append(QString(line(i)));
    return out;
}

StationListWindow::StationListWindow(WindowId id, StationDb ftlkind,
                                     const QString &title, const QString &loadCaption, const QString &queryCaption,
                                     bool withSort, const QString &listName, const QString &titlesName,
                                     const QString &titles, WindowId queryWindow, const QString &iniName,
                                     int combos, int maxDelay)
    : TavForm(id), m_ftlkind(ftlkind), m_queryWindow(queryWindow), m_iniName(iniName),
      m_combos(combos), m_maxDelay(maxDelay)
{
    setWindowTitle(title);
    auto *top = new QVBoxLayout(this);
    cmdHeigh = makeButton(QStringLiteral("cmdHeigh"), QStringLiteral("L"), this);
    cmdHeigh->setFixedWidth(28);

    lines = new StationLinesModel(this);
    list = new QListView(this);
    lblTitles = new ColumnTitles(titles, list, this);
    lblTitles->setObjectName(titlesName);
    top->addWidget(lblTitles);
    list->setObjectName(listName);
    list->setFont(monoFont());
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setModel(lines);
    list->setMinimumWidth(QFontMetrics(monoFont()).horizontalAdvance(QString(104, QLatin1Char('W'))));
    top->addWidget(list, 1);
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &cur) {
                if (!cur.isValid())
                    return;
                m_justSelected = cur.row();
                list_Click(cur.row());
            });
    // Only the press now beginning can select the line its click is about;
    // a line the scan or the keys selected earlier is clicked like any other.
    list->viewport()->installEventFilter(this);
    connect(list, &QListView::clicked, this, [this](const QModelIndex &i) {
        // The press that selected the line has run the click already.
        if (i.row() == m_justSelected) {
            m_justSelected = -1;
            return;
        }
        list_Click(i.row());
    });

    auto *bottom = new QGridLayout;
    top->addLayout(bottom);
    cmdLoad = makeButton(QStringLiteral("cmdLoad"), loadCaption, this);
    cmdQuery = makeButton(QStringLiteral("cmdQuery"), queryCaption, this);
    if (withSort)
        cmdSort = makeButton(QStringLiteral("cmdSort"), QStringLiteral("Sort"), this);
    lblScandelay = makeLabel(QStringLiteral("lblScandelay"), QStringLiteral("Scan delay"), this);
    txtScandelay = new QLineEdit(QStringLiteral("2"), this);
    txtScandelay->setObjectName(QStringLiteral("txtScandelay"));
    txtScandelay->setMaximumWidth(40);
    cmdScan = makeButton(QStringLiteral("cmdScan"), QStringLiteral("Start Scan"), this);
    lblProgress = makeLabel(QStringLiteral("lblProgress"), QStringLiteral("0"), this);
    lblProcent = makeLabel(QStringLiteral("lblProcent"), QStringLiteral("%"), this);
    lblProgress->setVisible(false);
    lblProcent->setVisible(false);
    cmdDiduzu = makeButton(QStringLiteral("cmdDiduzu"), QStringLiteral("DiDuzu"), this);
    txtFrequencyA = new lists::FrequencyBox(this);
    txtFrequencyA->setMaximumWidth(110);
    lblDbname = makeLabel(QStringLiteral("lblDbname"), QString(), this);
    lblDbname->setTextFormat(Qt::PlainText);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    int c = 0;
    bottom->addWidget(cmdLoad, 0, c++);
    bottom->addWidget(cmdQuery, 0, c++);
    if (cmdSort)
        bottom->addWidget(cmdSort, 0, c++);
    bottom->addWidget(lblScandelay, 0, c++);
    bottom->addWidget(txtScandelay, 0, c++);
    bottom->addWidget(cmdScan, 0, c++);
    bottom->addWidget(lblProgress, 0, c++);
    bottom->addWidget(lblProcent, 0, c++);
    bottom->addWidget(cmdDiduzu, 0, c++);
    bottom->addWidget(cmdHeigh, 0, c++);
    bottom->addWidget(txtFrequencyA, 0, c++);
    bottom->addWidget(lblDbname, 0, c++);
    bottom->addWidget(cmdExit, 0, c++);
    bottom->setColumnStretch(c - 2, 1);

    tmrScan.setObjectName(QStringLiteral("tmrScan"));
    connect(&tmrScan, &QTimer::timeout, this, &StationListWindow::tmrScan_Timer);
    connect(cmdLoad, &QPushButton::clicked, this, &StationListWindow::cmdLoad_Click);
    connect(cmdQuery, &QPushButton::clicked, this, &StationListWindow::cmdQuery_Click);
    connect(cmdScan, &QPushButton::clicked, this, &StationListWindow::cmdScan_Click);
    connect(cmdHeigh, &QPushButton::clicked, this, &StationListWindow::cmdHeigh_Click);
    connect(cmdDiduzu, &QPushButton::clicked, this, &StationListWindow::cmdDiduzu_Click);
    connect(cmdExit, &QPushButton::clicked, this, &StationListWindow::cmdExit_Click);
    connect(txtFrequencyA, &lists::FrequencyBox::enterPressed, this, &StationListWindow::txtFrequencyA_KeyEnter);
}

void StationListWindow::Form_Load()
{
    HourglassGuard busy;
    m_scan = StationScan{};
    m_large = false;
    applyHeight();
    lines->clear();
    lblDbname->clear();
    txtFrequencyA->clear();
    cmdScan->setText(QStringLiteral("Start Scan"));
    if (TavForm *q = Windows::get(m_queryWindow))
        q->load();
    // Missing or damaged choices leave the combos empty; the user may type.
    const QString iniPath = resolveNoCase(G.datapath, m_iniName);
    const std::optional<QueryFile> choices = readQueryFile(iniPath, m_combos);
    setQueryChoices(choices ? choices->combos : QVector<QStringList>(m_combos));
    const QString iniName = QFileInfo(iniPath).fileName();
    if (choices) {
        if (const QStringList remarks = queryFileRemarks(iniName, *choices); !remarks.isEmpty())
            msgBox(remarks, MsgIcon::Exclamation, QStringLiteral("Error"));
    } else if (QFileInfo(iniPath).isFile()) {
        msgBox(QStringList{QStringLiteral("The file ") + iniName, QStringLiteral("could not be read: ") + readFailureReason(iniPath) + QLatin1Char('.')},
               MsgIcon::Exclamation, QStringLiteral("Error"));
    }
    for (QWidget *w : {static_cast<QWidget *>(cmdQuery), static_cast<QWidget *>(cmdSort),
                       static_cast<QWidget *>(cmdScan), static_cast<QWidget *>(txtScandelay)})
        if (w)
            w->setEnabled(false);
    for (QWidget *w : {cmdLoad, cmdExit})
        w->setEnabled(true);
    links::add(static_cast<FrequencyBoxLink *>(this));
    links::add(static_cast<ClockCaptionLink *>(this));
}

bool StationListWindow::eventFilter(QObject *o, QEvent *ev)
{
    if (list && o == list->viewport() &&
        (ev->type() == QEvent::MouseButtonPress || ev->type() == QEvent::MouseButtonDblClick))
        m_justSelected = -1;
    return TavForm::eventFilter(o, ev);
}

void StationListWindow::Form_Unload()
{
    // A window closed while it scans stops its scan and lets the receiver go.
    if (tmrScan.isActive())
        setScanning(false);
    links::remove(static_cast<FrequencyBoxLink *>(this));
    links::remove(static_cast<ClockCaptionLink *>(this));
    if (TavForm *q = Windows::existing(m_queryWindow))
        q->unload();
}

void StationListWindow::applyHeight()
{
    const double tpp = twipsPerPixel();
    cmdHeigh->setText(m_large ? QStringLiteral("S") : QStringLiteral("L"));
    list->setFixedHeight(int((m_large ? kLargeList : kSmallList) / tpp));
    layout()->activate(); // the window's minimum follows the list at once
    resize(width(), int((m_large ? kLargeWindow : kSmallWindow) / tpp));
}

void StationListWindow::cmdHeigh_Click()
{
    m_large = !m_large;
    applyHeight();
    update();
}

void StationListWindow::cmdDiduzu_Click() { showChosenPanel(); }

void StationListWindow::txtFrequencyA_KeyEnter() { lists::tuneToText(txtFrequencyA->text()); }

void StationListWindow::cmdLoad_Click()
{
    lists::showLoadDialog(this, FileKind::StationList, m_ftlkind);
}

FileResult StationListWindow::stationfile2ram(const QString &path)
{
    HourglassGuard busy;
    setWindowTitle(loadedTitle());
    lines->clear();
    StationStore &store = ftlStore();
    const StationLoad r = loadStationStore(path, store, stationStoreCapacity());
    if (!r.ok)
        return FileResult::failure(r.error);
    lines->setLines(store.ftlrecs, store.ftlindex, true);
    lblDbname->setText(QFileInfo(path).fileName());
    for (QWidget *w : {static_cast<QWidget *>(cmdQuery), static_cast<QWidget *>(cmdSort),
                       static_cast<QWidget *>(cmdScan), static_cast<QWidget *>(txtScandelay)})
        if (w)
            w->setEnabled(true);
    if (const QStringList notice = stationLoadNotice(r); !notice.isEmpty())
        msgBox(notice, MsgIcon::Exclamation, QStringLiteral("Error"));
    return FileResult::loaded(r.leftOutLines());
}

void StationListWindow::list_Click(int row)
{
    if (row < 0 || row >= lines->rowCount())
        return;
    m_scan.position = row;
    // The scan's own selection follows a tuning the tick has just made; a
    // second one would only repeat it (and its complaint, out of range).
    if (!m_inTick)
        lists::tuneToText(lines->line(row).left(8));
}

void StationListWindow::selectLine(int row)
{
    if (row < 0 || row >= lines->rowCount())
        return;
    if (list->currentIndex().row() == row)
        list_Click(row);
    else
        list->setCurrentIndex(lines->index(row));
}

void StationListWindow::cmdQuery_Click()
{
    m_scan.position = 0;
    if (TavForm *q = Windows::get(m_queryWindow))
        q->showModeless();
}

void StationListWindow::setScanning(bool on)
{
    if (on) {
        tmrScan.start();
        cmdScan->setText(QStringLiteral("Stop Scan"));
    } else {
        tmrScan.stop();
        cmdScan->setText(QStringLiteral("Start Scan"));
    }
    Receiver::hold(this, on);
    for (QWidget *w : {static_cast<QWidget *>(cmdQuery), static_cast<QWidget *>(cmdSort),
                       static_cast<QWidget *>(cmdLoad), static_cast<QWidget *>(cmdExit)})
        if (w)
            w->setEnabled(!on);
}

void StationListWindow::cmdScan_Click()
{
    if (tmrScan.isActive()) {
        setScanning(false);
        return;
    }
    if (!m_run.begin())
        return;
    const double delay = numericValue(txtScandelay->text());
    if (delay < 1 || delay > m_maxDelay) {
        msgBox(QStringList{QStringLiteral("Scan delay outside range."),
                           QStringLiteral("Select value between 1 and %1 sec.").arg(m_maxDelay)},
               MsgIcon::Critical, QStringLiteral("Error"));
        return;
    }
    tmrScan.setInterval(int(roundHalfEven(delay * 1000)));
    setScanning(true);
}

void StationListWindow::tmrScan_Timer()
{
    // A tick whose tuning shows a message box does not let the next tick in.
    const TickGuard tick(this, m_inTick, m_run, TickGuard::SkipInside);
    if (!tick)
        return;
    QPointer<StationListWindow> self(this);
    const int count = lines->rowCount();
    const auto step = m_scan.tick(count, [&](int i) { return lines->frequency(i); });
    if (step) {
        hub().Change2FreqA(step->frequency);
        if (!self)
            return;
        selectLine(step->select);
        m_scan.advance(count);
    }
}

void StationListWindow::showSearchStart()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    lblProgress->setText(QStringLiteral("0"));
    lblProgress->setVisible(true);
    lblProcent->setVisible(true);
    lines->clear();
}

void StationListWindow::showProgress(int figure)
{
    lblProgress->setText(QLatin1Char(' ') + QString::number(figure));
    lblProgress->repaint();
}

void StationListWindow::showFound(const QVector<int> &found, bool whole)
{
    lines->setLines(ftlStore().ftlrecs, found, whole);
    lblProgress->setVisible(false);
    lblProcent->setVisible(false);
    QGuiApplication::restoreOverrideCursor();
}

// ---- ILG ----------------------------------------------------------------

frmIlg2rx::frmIlg2rx()
    : StationListWindow(windowId, StationDb::Ilg,
                        QStringLiteral("Filtering on ILG db"), QStringLiteral("Load ILG File"),
                        QStringLiteral("Query ILG db"), true, QStringLiteral("lstIlgq"), QStringLiteral("lblTitles"),
                        QStringLiteral("Frequency | Time(UTC) | Broadcast Organisation      | Target |  Language       "
                                       "             | Power | Location"),
                        WindowId::frmIlgquery, QStringLiteral("ilgquery.ini"), 6, 10)
{
    lstIlgq = list;
    // "Location" names the transmitter's site (column 114 of the record,
    // column 91 of a found line, which leaves out the coordinates and flags).
    lblTitles->setColumns({1, 10, 20, 43, 52, 70, 114}, {1, 10, 20, 43, 52, 70, 91});
    connect(cmdSort, &QPushButton::clicked, this, &frmIlg2rx::cmdSort_Click);
}

void frmIlg2rx::setQueryChoices(const QVector<QStringList> &choices)
{
    if (auto *q = Windows::get<frmIlgquery>())
        q->setChoices(choices);
}

void frmIlg2rx::cmdSort_Click()
{
    if (TavForm *s = Windows::get(WindowId::frmIlgqsort)) {
        Busy busy(this);
        s->showModal();
    }
}

void frmIlg2rx::Ftlsort()
{
    HourglassGuard busy;
    StationStore &store = ftlStore();
    const int hits = std::min<int>(store.ftlhits, int(store.ftlindex.size()) - 1);
    store.ftlindex = ftlSort(store.ftlrecs, store.ftlindex.mid(0, hits + 1), stationState().ftlsortkey);
    store.ftlhits = int(store.ftlindex.size()) - 1;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    showFound(store.ftlindex, true);
}

// ---- aero ----------------------------------------------------------------

frmAero2rx::frmAero2rx()
    : StationListWindow(windowId, StationDb::Aero,
                        QStringLiteral("Filtering on Aerolist"), QStringLiteral("Load Aero file"),
                        QStringLiteral("Query Aero db"), false, QStringLiteral("lstAero"), QStringLiteral("lblTitle"),
                        QStringLiteral("Freq.   | Status         | Network                       | Location / station"),
                        WindowId::frmAeroquery, QStringLiteral("aeroquery.ini"), 3, 60)
{
    lstAero = list;
    // The network title over column 19, where the query compares the name.
    lblTitles->setColumns({1, 9, 19, 40});
}

void frmAero2rx::setQueryChoices(const QVector<QStringList> &choices)
{
    if (auto *q = Windows::get<frmAeroquery>())
        q->setChoices(choices);
}

// ---- query dialogs -------------------------------------------------------

namespace {

QCheckBox *makeCheck(const QString &name, QWidget *parent)
{
    auto *c = new QCheckBox(parent);
    c->setObjectName(name);
    return c;
}

// Clear empties every box and unticks every criterion.
template <class Checks, class Combos> void clearQuery(Checks &checks, Combos &combos)
{
    for (QCheckBox *c : checks)
        c->setChecked(false);
    for (QComboBox *c : combos)
        c->setEditText(QString());
}

// A query's run for its list window: the window shows the search starting,
// the frequency bounds (when used) come back in order into their boxes, and
// the lines `search` finds become the store's index and the window's list.
void runQuery(StationListWindow *w, bool byFreq, QString &lower, QString &upper, QComboBox *lowerBox,
              QComboBox *upperBox, const std::function<QVector<int>(StationStore &)> &search, bool whole)
{
    w->showSearchStart();
    if (byFreq) {
        normalizeBounds(lower, upper);
        lowerBox->setEditText(lower);
        upperBox->setEditText(upper);
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    StationStore &store = ftlStore();
    const QVector<int> found = search(store);
    store.ftlindex = found;
    store.ftlhits = int(found.size()) - 1;
    w->showFound(found, whole);
}

} // namespace

frmIlgquery::frmIlgquery() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("ILG query definition"));
    auto *g = new QGridLayout(this);
    struct Frame { int frame; const char *caption; int check; QVector<int> combos; };
    const Frame frames[] = {{0, "Frequency (MHz)", 0, {0, 1}}, {3, "Language", 1, {2}},
                            {1, "Station", 2, {3}},            {4, "Tx Country", 3, {4}},
                            {2, "Station currently on the air", 4, {}}, {5, "Target Area", 5, {5}}};
    for (int i = 0; i < 6; ++i)
        cmbQuery[i] = makeEntryCombo(QStringLiteral("cmbQuery(%1)").arg(i), this);
    int row = 0;
    for (const Frame &f : frames) {
        auto *box = makeFrame(QStringLiteral("fraQuery(%1)").arg(f.frame), QLatin1String(f.caption), this);
        auto *l = new QHBoxLayout(box);
        chkQuery[f.check] = makeCheck(QStringLiteral("chkQuery(%1)").arg(f.check), box);
        l->addWidget(chkQuery[f.check]);
        for (int c : f.combos) {
            cmbQuery[c]->setParent(box);
            l->addWidget(cmbQuery[c], 1);
        }
        g->addWidget(box, row++, 0, 1, 3);
    }
    cmdSearchilg = makeButton(QStringLiteral("cmdSearchilg"), QStringLiteral("Search ILG db"), this);
    cmdClear = makeButton(QStringLiteral("cmdClear"), QStringLiteral("Clear"), this);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), this);
    g->addWidget(cmdSearchilg, row, 0);
    g->addWidget(cmdClear, row, 1);
    g->addWidget(cmdCancel, row, 2);
    connect(cmdSearchilg, &QPushButton::clicked, this, &frmIlgquery::cmdSearchilg_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmIlgquery::cmdClear_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmIlgquery::cmdCancel_Click);
}

namespace {

template <std::size_t N> void fillChoices(const std::array<QComboBox *, N> &combos, const QVector<QStringList> &choices)
{
    for (std::size_t i = 0; i < N && qsizetype(i) < choices.size(); ++i) {
        combos[i]->clear();
        combos[i]->addItems(choices[qsizetype(i)]);
        combos[i]->setEditText(QString());
    }
}

} // namespace

void frmIlgquery::setChoices(const QVector<QStringList> &choices) { fillChoices(cmbQuery, choices); }
void frmAeroquery::setChoices(const QVector<QStringList> &choices) { fillChoices(cmbQuery, choices); }

void frmIlgquery::cmdClear_Click()
{
    clearQuery(chkQuery, cmbQuery);
}

void frmIlgquery::cmdSearchilg_Click()
{
    auto *w = Windows::existing<frmIlg2rx>();
    if (!w || !Windows::loaded(WindowId::frmIlg2rx))
        return;
    IlgCriteria c;
    c.freq = chkQuery[0]->isChecked();
    c.language = chkQuery[1]->isChecked();
    c.station = chkQuery[2]->isChecked();
    c.country = chkQuery[3]->isChecked();
    c.onAir = chkQuery[4]->isChecked();
    c.target = chkQuery[5]->isChecked();
    c.lower = cmbQuery[0]->currentText();
    c.upper = cmbQuery[1]->currentText();
    c.languageText = cmbQuery[2]->currentText();
    c.stationText = cmbQuery[3]->currentText();
    c.countryText = cmbQuery[4]->currentText();
    c.targetText = cmbQuery[5]->currentText();
    hide();
    runQuery(w, c.freq, c.lower, c.upper, cmbQuery[0], cmbQuery[1], [&](StationStore &store) {
        return ilgSearch(store, c, ftl::hhmmFromClockText(G.utctext), [w](int f) { w->showProgress(f); });
    }, false);
}

frmAeroquery::frmAeroquery() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Query definition"));
    auto *g = new QGridLayout(this);
    auto *fraFreq = makeFrame(QStringLiteral("fraFreq"), QStringLiteral("Frequency (MHz)"), this);
    auto *fl = new QHBoxLayout(fraFreq);
    chkQuery[0] = makeCheck(QStringLiteral("chkQuery(0)"), fraFreq);
    cmbQuery[0] = makeEntryCombo(QStringLiteral("cmbQuery(0)"), fraFreq);
    cmbQuery[1] = makeEntryCombo(QStringLiteral("cmbQuery(1)"), fraFreq);
    fl->addWidget(chkQuery[0]);
    fl->addWidget(cmbQuery[0], 1);
    fl->addWidget(cmbQuery[1], 1);
    auto *frame1 = makeFrame(QStringLiteral("Frame1"), QStringLiteral("Network"), this);
    auto *nl = new QHBoxLayout(frame1);
    chkQuery[1] = makeCheck(QStringLiteral("chkQuery(1)"), frame1);
    cmbQuery[2] = makeEntryCombo(QStringLiteral("cmbQuery(2)"), frame1);
    nl->addWidget(chkQuery[1]);
    nl->addWidget(cmbQuery[2], 1);
    g->addWidget(fraFreq, 0, 0, 1, 3);
    g->addWidget(frame1, 1, 0, 1, 3);
    cmdSearchaero = makeButton(QStringLiteral("cmdSearchaero"), QStringLiteral("Search Aero db"), this);
    cmdClear = makeButton(QStringLiteral("cmdClear"), QStringLiteral("Clear"), this);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), this);
    g->addWidget(cmdSearchaero, 2, 0);
    g->addWidget(cmdClear, 2, 1);
    g->addWidget(cmdCancel, 2, 2);
    connect(cmdSearchaero, &QPushButton::clicked, this, &frmAeroquery::cmdSearchaero_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmAeroquery::cmdClear_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAeroquery::cmdCancel_Click);
}

void frmAeroquery::cmdClear_Click()
{
    clearQuery(chkQuery, cmbQuery);
}

void frmAeroquery::cmdSearchaero_Click()
{
    auto *w = Windows::existing<frmAero2rx>();
    if (!w || !Windows::loaded(WindowId::frmAero2rx))
        return;
    AeroCriteria c;
    c.freq = chkQuery[0]->isChecked();
    c.network = chkQuery[1]->isChecked();
    c.lower = cmbQuery[0]->currentText();
    c.upper = cmbQuery[1]->currentText();
    c.networkText = cmbQuery[2]->currentText();
    hide();
    runQuery(w, c.freq, c.lower, c.upper, cmbQuery[0], cmbQuery[1], [&](StationStore &store) {
        return aeroSearch(store, c, [w](int f) { w->showProgress(f); });
    }, true);
}

frmIlgqsort::frmIlgqsort() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Select sort order"));
    auto *g = new QGridLayout(this);
    auto *fraSort = makeFrame(QStringLiteral("fraSort"), QString(), this);
    auto *sl = new QVBoxLayout(fraSort);
    optSort = new OptionGroup(this);
    const char *captions[] = {"Frequency", "Start time", "Organisation", "Language"};
    for (int i = 0; i < 4; ++i)
        sl->addWidget(optSort->add(i, QStringLiteral("optSort"), QLatin1String(captions[i]), fraSort));
    g->addWidget(fraSort, 0, 0, 1, 2);
    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), this);
    cancel = makeButton(QStringLiteral("cancel"), QStringLiteral("Cancel"), this);
    g->addWidget(cmdOK, 1, 0);
    g->addWidget(cancel, 1, 1);
    connect(optSort, &OptionGroup::clicked, this, [](int i) { stationState().ftlsortkey = i; });
    connect(cmdOK, &QPushButton::clicked, this, &frmIlgqsort::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &frmIlgqsort::cancel_Click);
}

void frmIlgqsort::Form_Load()
{
    if (optSort->selected() == 0)
        stationState().ftlsortkey = 0;
    else
        optSort->select(0);
}

void frmIlgqsort::cmdOK_Click()
{
    unload();
    if (auto *w = Windows::existing<frmIlg2rx>(); w && Windows::loaded(WindowId::frmIlg2rx))
        w->Ftlsort();
}

} // namespace tav
