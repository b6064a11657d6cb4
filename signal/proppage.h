#pragma once
// The printable propagation page without its window: the listener's details
// from "prop2prt.ini" and the graph drawn from a stored propagation file.

#include "core/canvas.h"

#include <QString>
#include <QStringList>
#include <array>

namespace tav {

// Lines 1 to 9 of "prop2prt.ini" (receiver, antenna, location, name,
// address, city, ZIP code, country, e-mail); missing lines and a missing file
// give blanks, lines beyond the ninth are ignored.
std::array<QString, 9> readProp2prtIni(const QString &path);

// The page's scale: level S at y = 528 - 8 S; 4 pixels a minute from x = 120.
// Draws the file's minute lines in black on the page (816 x 920) and returns
// the station, frequency and start texts (lines 3, 2 and 1; blank where the
// file is short). A line after midnight counts on from the day before, so it
// is drawn to the right of the earlier ones; a missing pair draws nothing.
std::array<QString, 3> drawPropPage(Picture &page, const QStringList &lines);

// The areas Cls whitens: the time labels, the bands between the level lines
// and the strips above and below.
void clearPropPage(Picture &page);

} // namespace tav
