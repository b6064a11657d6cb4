#include "signal/frmProp2prt2.h"

#include "hub/frmLoadfile.h"
#include "core/globals.h"
#include "core/textfile.h"
#include "core/ui.h"
#include "signal/proppage.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <QPrinter>
#include <QPrinterInfo>

namespace tav {

namespace {

constexpr int kPageWidth = 816, kPageHeight = 920;
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

QFont arial(double points, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace

bool frmProp2prt2::alwaysPdf = false;

QString frmProp2prt2::pdfPath() { return G.datapath + QStringLiteral("prop2prt.pdf"); }

frmProp2prt2::frmProp2prt2() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Printing Propagation Impression"));
    resize(810, 908);
    Picture1 = new Canvas(QStringLiteral("Picture1"), kPageWidth, kPageHeight, kWhite, this);
    Picture1->move(0, 0);
    Picture1->picture().setFont(arial(9));

    lblTitle = makeLabel(QStringLiteral("lblTitle"), QStringLiteral("Propagation Impression"), Picture1);
    lblTitle->setFont(arial(18));
    lblTitle->setGeometry(56, 72, 281, 33);
    static const char *captions[] = {"Received station :", "Frequency (kHz) :", "Date / Start Time:",
                                     "Receiver              :", "Antenna               :",
                                     "Location              :", "Name       :", "Address   :", "City           :",
                                     "ZIP code  :", "Country    :", "E-mail      :"};
    for (int i = 0; i < 12; ++i) {
        const bool head = i < 6;
        const int top = head ? 144 + 24 * i : 760 + 24 * (i - 6);
        lbldat[size_t(i)] = makeLabel(QStringLiteral("lbldat(%1)").arg(i), QLatin1String(captions[i]), Picture1);
        lbldat[size_t(i)]->setFont(arial(head ? 12 : 10));
        lbldat[size_t(i)]->setGeometry(head ? 56 : 64, top, head ? 129 : 81, 19);
        auto *t = new QLineEdit(Picture1);
        t->setObjectName(QStringLiteral("txtdat(%1)").arg(i));
        t->setFont(arial(12));
        t->setFrame(false);
        t->setGeometry(head ? 192 : 152, top, head ? 497 : 553, 19);
        txtdat[size_t(i)] = t;
    }
    struct L {
        const char *name, *text;
        int top;
    };
    const L levels[] = {{"lblP72", "+72", 352}, {"lblP48", "+48", 384}, {"lblP24", "+24", 416},
                        {"Label1", "S 9", 448},  {"lblS5", "S 5", 480},  {"lblS1", "S 1", 512}};
    for (const L &l : levels) {
        QLabel *q = makeLabel(QLatin1String(l.name), QLatin1String(l.text), Picture1);
        q->setFont(arial(9.75));
        q->setGeometry(72, l.top, 25, 17);
    }
    const L texts[] = {
        {"Label2", "Explanation : ", 584},
        {"Label3",
         "The strength of the received antenna signal (S-meter with correction for input attenuator) is measured each "
         "second.",
         600},
        {"Label4", "S9 means an antenna signal of 50 uV over 50 Ohm, S5 is ~3 uV and +48 or S9+48dB is 12.5 mV, etc.",
         616},
        {"Label5",
         "The vertical lines in the graph interconnect the highest and lowest received signals measured in each 15 "
         "sec period.",
         632},
        {"Label6", "Measured and printed with Tavorin.", 648}};
    for (const L &l : texts) {
        QLabel *q = makeLabel(QLatin1String(l.name), QLatin1String(l.text), Picture1);
        q->setFont(arial(8));
        q->setGeometry(72, l.top, 700, 16);
    }
    lblFrom = makeLabel(QStringLiteral("lblFrom"), QStringLiteral("From"), Picture1);
    lblFrom->setFont(arial(10));
    lblFrom->setGeometry(64, 736, 60, 17);

    struct B {
        QPushButton **b;
        const char *name, *caption;
        int left;
    };
    const B buttons[] = {{&cmdLoad, "cmdLoad", "Load File", 408},
                         {&cmdCls, "cmdCls", "Cls", 496},
                         {&cmdPrint, "cmdPrint", "Print Form", 584},
                         {&cmdExit, "cmdExit", "Exit", 672}};
    for (const B &b : buttons) {
        *b.b = makeButton(QLatin1String(b.name), QLatin1String(b.caption), this);
        QFont f = (*b.b)->font();
        f.setBold(true);
        (*b.b)->setFont(f);
        (*b.b)->setGeometry(b.left, 16, 73, 25);
        (*b.b)->raise();
    }
    vsbPage = new QScrollBar(Qt::Vertical, this);
    vsbPage->setObjectName(QStringLiteral("vsbPage"));
    vsbPage->setRange(0, 0);
    vsbPage->hide();
    connect(vsbPage, &QScrollBar::valueChanged, this, [this](int v) { Picture1->move(0, -v); });
    connect(cmdLoad, &QPushButton::clicked, this, &frmProp2prt2::cmdLoad_Click);
    connect(cmdCls, &QPushButton::clicked, this, &frmProp2prt2::cmdCls_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmProp2prt2::cmdPrint_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmProp2prt2::cmdExit_Click);
}

void frmProp2prt2::resizeEvent(QResizeEvent *ev)
{
    // On a screen shorter than the page the window is made shorter too; the
    // rest of the page is reached with the bar.
    TavForm::resizeEvent(ev);
    const int hidden = std::max(0, Picture1->height() - height());
    vsbPage->setRange(0, hidden);
    vsbPage->setPageStep(height());
    vsbPage->setSingleStep(20);
    const int w = vsbPage->sizeHint().width();
    vsbPage->setGeometry(width() - w, 0, w, height());
    vsbPage->setVisible(hidden > 0);
}

void frmProp2prt2::drawFrame()
{
    // The level axis (two pixels wide) and the six level lines.
    Picture &p = Picture1->picture();
    p.box(112, 352, 113, 528, kBlack);
    for (int y = 360; y <= 520; y += 32)
        p.line(104, y, 712, y, kBlack);
}

void frmProp2prt2::Form_Load()
{
    const std::array<QString, 9> ini = readProp2prtIni(G.datapath + QStringLiteral("prop2prt.ini"));
    for (int k = 0; k < 9; ++k)
        txtdat[size_t(k + 3)]->setText(ini[size_t(k)]);
    Picture1->picture().clear();
    drawFrame();
    show();
}

void frmProp2prt2::cmdLoad_Click()
{
    Busy busy(this);
    frmLoadfile::showFor(FileKind::PropagationPrint);
}

void frmProp2prt2::cmdCls_Click()
{
    for (int i = 0; i < 3; ++i)
        txtdat[size_t(i)]->clear();
    clearPropPage(Picture1->picture());
    // The axis and level lines are not part of the graph: they stay.
    drawFrame();
}

void frmProp2prt2::cmdExit_Click() { unload(); }

FileResult frmProp2prt2::pan2prt2file2ram(const QString &path)
{
    QString why;
    const std::optional<QStringList> lines = readKindFile(path, filelimits::kPropagation, &why);
    if (!lines)
        return FileResult::failure(why);
    const std::array<QString, 3> head = drawPropPage(Picture1->picture(), *lines);
    for (int i = 0; i < 3; ++i)
        txtdat[size_t(i)]->setText(head[size_t(i)]);
    return FileResult::success();
}

QImage frmProp2prt2::pageImage() const
{
    QImage img(kPageWidth, kPageHeight, QImage::Format_RGB32);
    img.fill(kWhite);
    Picture1->render(&img);
    return img;
}

void frmProp2prt2::cmdPrint_Click()
{
    const QImage page = pageImage();
    QPrinter printer(QPrinter::HighResolution);
    const bool toPdf = alwaysPdf || QPrinterInfo::defaultPrinter().isNull();
    if (toPdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath());
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        msgBox(QStringList{QStringLiteral("The page could not be printed."),
                           toPdf ? QStringLiteral("The file ") + pdfPath() + QStringLiteral(" could not be written.")
                                 : QStringLiteral("The printer did not accept it.")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    // The page at the printer's origin, as large as the paper allows.
    const QRect area = painter.viewport();
    const QSize size = page.size().scaled(area.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(QPoint(0, 0), size), page);
    const bool ok = painter.end();
    if (!ok) {
        msgBox(QStringLiteral("The page could not be printed."), MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    if (toPdf)
        msgBox(QStringList{QStringLiteral("No printer is set up: the page is now"),
                           QStringLiteral("saved to the file ") + pdfPath()},
               MsgIcon::Information, QStringLiteral("Print"));
}

} // namespace tav
