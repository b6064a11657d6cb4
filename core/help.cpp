#include "core/help.h"
#include "core/form.h"
#include "core/windowdecl.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// Resources of a static library are registered by hand, outside any namespace.
static void initHelpResources() { Q_INIT_RESOURCE(help); }

namespace tav {

namespace {

QPointer<HelpWindow> s_help;

const QString kBase = QStringLiteral("qrc:/help/");

} // namespace

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window)
{
    initHelpResources();
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tavorin help"));
    auto *lay = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    cmdBack = new QPushButton(QStringLiteral("Back"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdContents = new QPushButton(QStringLiteral("Contents"), this);
    cmdContents->setObjectName(QStringLiteral("cmdContents"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    row->addWidget(cmdBack);
    row->addWidget(cmdContents);
    row->addStretch();
    row->addWidget(cmdClose);
    lay->addLayout(row);
    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setOpenLinks(true);
    // Pages of the program stay in the window; addresses outside it go to the desktop.
    txtHelp->setOpenExternalLinks(true);
    lay->addWidget(txtHelp);
    cmdBack->setEnabled(false);
    connect(txtHelp, &QTextBrowser::backwardAvailable, cmdBack, &QPushButton::setEnabled);
    connect(cmdBack, &QPushButton::clicked, txtHelp, &QTextBrowser::backward);
    connect(cmdContents, &QPushButton::clicked, this, [this] { showPage(QStringLiteral("index.html")); });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    resize(760, 640);
}

HelpWindow *HelpWindow::instance()
{
    if (!s_help)
        s_help = new HelpWindow;
    return s_help;
}

HelpWindow *HelpWindow::existing() { return s_help; }

void HelpWindow::showPage(const QString &page)
{
    const QUrl url(kBase + page);
    if (txtHelp->source() != url)
        txtHelp->setSource(url);
    if (!url.fragment().isEmpty())
        txtHelp->scrollToAnchor(url.fragment());
    if (!m_placed) {
        m_placed = true;
        placeOnScreen();
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::placeOnScreen()
{
    // Beside the receiver panel, else beside the window that asks for help,
    // wholly on that window's screen (made smaller where the screen is).
    std::optional<QRect> anchor = shownPanelFrame();
    if (!anchor)
        if (QWidget *a = QApplication::activeWindow(); a && a != this)
            anchor = qobject_cast<TavForm *>(a) ? static_cast<TavForm *>(a)->frameRect() : a->frameGeometry();
    QScreen *sc = anchor ? QGuiApplication::screenAt(anchor->center()) : nullptr;
    if (!sc)
        sc = QGuiApplication::primaryScreen();
    if (!sc)
        return;
    const QRect area = sc->availableGeometry();
    const QMargins m = frameMarginsOf(this);
    resize(size().boundedTo(area.size().shrunkBy(m)).expandedTo(minimumSize()));
    placeFrameAt(this, placeBeside(area, anchor, size().grownBy(m), shownToolFrames(this)));
}

QString HelpWindow::shownPage() const
{
    const QString s = txtHelp->source().toString();
    return s.startsWith(kBase) ? s.mid(kBase.size()) : s;
}

bool openHelp(const QString &page)
{
    initHelpResources();
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    if (!QFile::exists(QStringLiteral(":/help/") + file)) {
        HelpWindow::instance()->showPage(QStringLiteral("index.html"));
        return false;
    }
    HelpWindow::instance()->showPage(page);
    return true;
}

QString helpSection(const QString &window)
{
    for (const WindowDecl &d : windowDecls)
        if (*d.helpSection && window == QLatin1String(d.name)) {
            const QLatin1String section(d.helpSection);
            return section.contains(QLatin1Char('#')) ? QString(section) : QStringLiteral("files.html#") + section;
        }
    return QString();
}

namespace {

class HelpKey : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *obj, QEvent *ev) override
    {
        if (ev->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(ev)->key() != Qt::Key_F1 ||
            static_cast<QKeyEvent *>(ev)->modifiers() != Qt::NoModifier)
            return false;
        auto *w = qobject_cast<QWidget *>(obj);
        if (!w)
            return false;
        const QString section = helpSection(w->window()->objectName());
        if (section.isEmpty())
            return false;
        openHelp(section);
        return true;
    }
};

} // namespace

void installHelpKey()
{
    static QPointer<HelpKey> key;
    if (!key && qApp) {
        key = new HelpKey(qApp);
        qApp->installEventFilter(key);
    }
}

} // namespace tav
