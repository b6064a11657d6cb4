// The printed memory list through the manager's Print: what is drawn line by
// line (a recording paint device), page breaks, and the PDF made when no
// printer is set up, read back for its text.
#include "memories/memprint.h"
#include "hub/frmSavefile.h"
#include "drivers/receiver.h"
#include "memories/memtext.h"
#include "support/memrig.h"

#include <QPaintEngine>
#include <QPainter>
#include <QRegularExpression>

using namespace tav;

namespace {

// A page that records every text drawn on it, with its position.
class RecordingEngine : public QPaintEngine {
public:
    struct Text {
        QPointF at;
        QString text;
        QString family;
        qreal pointSize;
        int page;
    };
    QList<Text> texts;
    int page = 0;
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        texts << Text{p, item.text(), item.font().family(), item.font().pointSizeF(), page};
    }
    Type type() const override { return QPaintEngine::User; }
};

class RecordingPage : public QPaintDevice {
public:
    explicit RecordingPage(int heightPx) : m_height(heightPx) {}
    RecordingEngine engine;
    QPaintEngine *paintEngine() const override { return const_cast<RecordingEngine *>(&engine); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 800;
        case PdmHeight: return m_height;
        case PdmWidthMM: return 210;
        case PdmHeightMM: return 297;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return 1 * devicePixelRatioFScale();
        default: return 0;
        }
    }

private:
    int m_height;
};

// The text lines of a PDF as Qt writes them: each drawn line is one text
// object whose glyph codes the font's ToUnicode map turns back into text.
QStringList pdfTextLines(const QByteArray &pdf)
{
    QList<QByteArray> streams;
    static const QRegularExpression streamRe(QStringLiteral("<<((?:(?!>>\\s*stream).)*?)>>\\s*stream\\r?\\n"),
                                             QRegularExpression::DotMatchesEverythingOption);
    const QString latin = QString::fromLatin1(pdf);
    auto it = streamRe.globalMatch(latin);
    while (it.hasNext()) {
        const auto m = it.next();
        const int start = int(m.capturedEnd());
        const int end = int(pdf.indexOf("endstream", start));
        if (end < 0)
            break;
        QByteArray data = pdf.mid(start, end - start);
        if (m.captured(1).contains(QLatin1String("FlateDecode"))) {
            QByteArray sized(4, 0);
            const quint32 guess = quint32(data.size()) * 40 + 4096;
            sized[0] = char(guess >> 24);
            sized[1] = char(guess >> 16);
            sized[2] = char(guess >> 8);
            sized[3] = char(guess);
            data = qUncompress(sized + data);
        }
        streams << data;
    }
    QMap<int, QChar> cmap;
    static const QRegularExpression hexRe(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (const QByteArray &s : streams) {
        const QString t = QString::fromLatin1(s);
        static const QRegularExpression rangeRe(QStringLiteral("beginbfrange(.*?)endbfrange"),
                                                QRegularExpression::DotMatchesEverythingOption);
        auto ranges = rangeRe.globalMatch(t);
        while (ranges.hasNext()) {
            for (const QString &line : ranges.next().captured(1).split(QLatin1Char('\n'))) {
                QList<int> v;
                auto hx = hexRe.globalMatch(line);
                while (hx.hasNext())
                    v << hx.next().captured(1).toInt(nullptr, 16);
                if (v.size() < 3)
                    continue;
                if (line.contains(QLatin1Char('[')))
                    for (int k = 2; k < v.size(); ++k)
                        cmap[v[0] + k - 2] = QChar(v[k]);
                else
                    for (int c = v[0]; c <= v[1]; ++c)
                        cmap[c] = QChar(v[2] + c - v[0]);
            }
        }
    }
    QStringList lines;
    for (const QByteArray &s : streams) {
        const QString t = QString::fromLatin1(s);
        if (!t.contains(QLatin1String(" Tj")))
            continue;
        static const QRegularExpression btRe(QStringLiteral("BT(.*?)ET"), QRegularExpression::DotMatchesEverythingOption);
        auto blocks = btRe.globalMatch(t);
        while (blocks.hasNext()) {
            QString line;
            auto hx = hexRe.globalMatch(blocks.next().captured(1));
            while (hx.hasNext()) {
                const QString h = hx.next().captured(1);
                for (int k = 0; k + 4 <= h.size(); k += 4) {
                    QChar c = cmap.value(h.mid(k, 4).toInt(nullptr, 16), QLatin1Char('?'));
                    line += c.isSpace() ? QLatin1Char(' ') : c;
                }
            }
            lines << line;
        }
    }
    return lines;
}

QStringList trimmedNonEmpty(const QStringList &lines)
{
    QStringList out;
    for (const QString &l : lines)
        if (!l.trimmed().isEmpty())
            out << l.trimmed();
    return out;
}

class MemPrint : public ::testing::Test, public tavtest::MemRig {
protected:
    void SetUp() override
    {
        setMemPrintToPdf(true);
        open(2);
        MemImage &img = memState().image;
        for (int i = 0; i <= 199; ++i)
            img.setRecord(i, memEmptyRecord(i));
        img.setRecord(3, QStringLiteral("MEM003 09650000 4 01 1 0 @@@ @@@ @"));
        img.setInfo(3, QStringLiteral("Radio Austria"));
        img.setRecord(4, QStringLiteral("MEM004 15400000 2 02 0 1 @@@ @@@ @"));
        mm->memcmdenabler(true);
    }
    void TearDown() override
    {
        setMemPrintToPdf(false);
        close();
    }
};

} // namespace

TEST_F(MemPrint, DrawsEveryLineInCourierTopToBottomWithPageBreaks)
{
    QStringList lines;
    for (int i = 0; i < 130; ++i)
        lines << QStringLiteral("line %1").arg(i);
    lines[7].clear();
    RecordingPage page(1000);
    int pages = 1;
    {
        QPainter p(&page);
        ASSERT_TRUE(drawMemLines(p, lines, [&] {
            page.engine.page = pages++;
            return true;
        }));
    }
    const auto &texts = page.engine.texts;
    ASSERT_EQ(texts.size(), 129) << "an empty line is a line of space, not a text";
    EXPECT_GT(pages, 1);
    for (int k = 0; k < texts.size(); ++k) {
        EXPECT_EQ(texts[k].family, QStringLiteral("Courier New"));
        EXPECT_EQ(texts[k].pointSize, 10);
        if (k > 0 && texts[k].page == texts[k - 1].page) {
            EXPECT_GT(texts[k].at.y(), texts[k - 1].at.y());
        }
        EXPECT_LE(texts[k].at.y(), 1000);
    }
    EXPECT_EQ(texts.first().text, QStringLiteral("line 0"));
    EXPECT_EQ(texts.last().text, QStringLiteral("line 129"));
    // A page that will take no more ends the drawing.
    RecordingPage small(100);
    QPainter p2(&small);
    EXPECT_FALSE(drawMemLines(p2, lines, [] { return false; }));
}

TEST_F(MemPrint, PrintWithoutAPrinterMakesAPdfNamedAfterTheMemoryFile)
{
    G.filenames[FileKind::Memories] = QStringLiteral("MEM_2bdx.TXT");
    Windows::get<frmSavefile>()->setKind(FileKind::BandScan); // another kind used last must not name the list
    G.filenames[FileKind::BandScan] = QStringLiteral("SAN_band.TXT");
    mm->txtFrom->setText(QStringLiteral("5"));
    mm->txtTo->setText(QStringLiteral("3"));
    dialogs.answer(vbYes);
    mm->cmdPrint_Click();
    ASSERT_GE(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Memories to Printer"));
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("You want to print the contents\nof memorycells   3  to   5\n"
                                                      "including the filled-in alpha tags"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Memories to Printer"));
    const QString pdf = mm->printPdfPath();
    EXPECT_TRUE(lastText().contains(pdf));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << pdf.toStdString();
    const QStringList got = trimmedNonEmpty(pdfTextLines(f.readAll()));
    const QStringList want = trimmedNonEmpty(memPrintLines(memState().image, 3, 5, 2, G.filenames[FileKind::Memories]));
    EXPECT_EQ(got, want);
    ASSERT_GE(got.size(), 5);
    EXPECT_EQ(got[0], QStringLiteral("MEM_2BDX.TXT"));
    EXPECT_TRUE(got[2].startsWith(QStringLiteral("003 09650.000   AM  Int -20 dB  Slw  Radio Austria")))
        << got[2].toStdString();
}

TEST_F(MemPrint, APrintThatCannotBeDoneIsReportedNotAnnounced)
{
    G.filenames[FileKind::Memories] = QStringLiteral("MEM_2x.TXT");
    G.filedirs[FileKind::Memories] = dir.path() + QStringLiteral("no/such/\x01dir/");
    QFile blocker(dir.path() + QStringLiteral("no"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the directory should be
    blocker.close();
    dialogs.answer(vbYes);
    mm->cmdPrint_Click();
    EXPECT_EQ(lastTitle(), QStringLiteral("Error"));
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("The memory list could not be printed")));

    // Nothing to print.
    memState().image.reset(goModel().lastCell);
    tav::DialogScript::shown.clear();
    mm->cmdPrint_Click();
    EXPECT_EQ(lastTitle(), QStringLiteral("Nothing to Print"));
    EXPECT_EQ(dialogs.shown().size(), 1);
}
