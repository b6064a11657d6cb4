#pragma once
// The program's own help pages (HTML, shipped inside the program), opened
// with the desktop's browser.

#include <QString>

namespace tav {

// The folder the pages are put into to be opened (the user's cache).
QString helpDirectory();
// Puts the pages there and opens `page` ("index.html", "panels.html", ...).
// Says so in a message when they cannot be written or opened; returns
// whether the browser was started.
bool openHelp(const QString &page);

} // namespace tav
