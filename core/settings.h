#pragma once
// The settings file "tavorin2.ini" and the window positions "formpositions.ini".

#include <QString>
#include <QStringList>

namespace tav {

// Where the settings and positions files are looked for at start-up: the
// current directory first, then ~/.config/tavorin/.
QStringList settingsSearchDirs();
QString userConfigDir(); // ~/.config/tavorin/ (ends in "/")

struct SettingsReadResult {
    bool found = false;       // a settings file was read
    bool complete = false;    // it held all 35 lines
    bool repaired = false;    // values that index a table were out of range and were replaced
    QString dir;              // where it was read from
    QString skipped;          // a candidate that could not be read, and why (empty when none)
};

// The data path as the settings file holds it: a path under the home folder
// is written as "~/..." so that any home folder's name fits the file's Latin-1.
QString homeRelativePath(const QString &path);
QString expandHomePath(const QString &path);
bool fitsLatin1(const QString &text);
// Whether a data directory can be kept in the settings file as entered.
bool datapathStorable(const QString &path);

// Default texts of the set-up dialog.
QString defaultDatapath();   // home + "/DiDuzu/"
QString defaultLatitude();
QString defaultLongitude();
// The dialog's default for setting k (0 where it has none).
float setupDefault(int k);

// Parses settings lines into the program-wide variables (start-up rules).
// Settings the lines lack take the dialog's defaults.
SettingsReadResult applySettingsLines(const QStringList &lines);
// Reads "tavorin2.ini" from the first search directory that has one.
SettingsReadResult readSettingsFile();
// The 35 lines that Save writes.
QStringList settingsLines();
// Writes datapath + "tavorin2.ini", and also into the directory the file was
// read from (or the user's config directory when none was read), so that the
// next start reads what was saved. Returns false with the reason on failure.
bool saveSettingsFile(QString *error);

// Window positions.
void applyPositionLines(const QStringList &lines);
bool readPositionsFile();
QStringList positionLines();
bool savePositionsFile(QString *error);

// The store rule: left raised to 1500 minus the width when smaller, a
// negative top stored as 0. All values in twips.
void storePosition(int slot, int leftTwips, int topTwips, int widthTwips);

} // namespace tav
