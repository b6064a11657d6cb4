#pragma once
// The program's own help pages (HTML, shipped inside the program), shown in
// a help window of the program itself, so help works on every machine,
// with or without a browser on the desktop.

#include <QString>
#include <QWidget>

class QTextBrowser;
class QPushButton;

namespace tav {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The one help window, made on first use.
    static HelpWindow *instance();
    // The window if it was made (tests).
    static HelpWindow *existing();

    QTextBrowser *txtHelp = nullptr;
    QPushButton *cmdBack = nullptr, *cmdContents = nullptr, *cmdClose = nullptr;

    // Shows `page` ("files.html", "files.html#bdxc") and brings the window up.
    void showPage(const QString &page);
    // The page and section shown ("files.html#bdxc").
    QString shownPage() const;

private:
    HelpWindow();
    // Its first place, which it keeps while the program runs.
    void placeOnScreen();
    bool m_placed = false;
};

// Opens `page` (with or without "#section") in the help window; false when
// the page is not one of the help pages (the window then says so).
bool openHelp(const QString &page);

// The help section of a tool window ("files.html#bdxc"), empty for a window
// without one.
QString helpSection(const QString &window);

// F1 in a tool window opens that window's help section (installed once on
// the application; the receiver panels keep F1 for their own keys and menu).
void installHelpKey();

} // namespace tav
