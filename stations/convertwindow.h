#pragma once
// What the two conversion windows (aero list, ILG tables) do alike around
// a conversion: the Locate button, the progress shown while it runs, the
// close box that stops it, and how its end or failure is shown.

#include "stations/conversion.h"

#include <QString>
#include <QStringList>
#include <optional>

class QCloseEvent;
class QLabel;

namespace tav {

class OptionGroup;

// Drops the connection, then lets the listener pick the source files.
void locateConversionSource(OptionGroup *connect);

// The picker's rule for OK, the same for both conversions: the file clicked,
// else the only file the folder offers; std::nullopt when several fit and
// none was clicked (the listener is asked to choose one).
std::optional<QString> pickedSourceFile(const QStringList &listed, const QString &clicked);

// Progress into `count` and `record` (repainted between records, the events
// run so Stop can be pressed); `stop` is the Stop button's flag.
ConversionHooks conversionWindowHooks(QLabel *count, QLabel *record, const bool &stop);

// The close box during a conversion stops it instead (the window closes
// itself after every conversion); true when the close was refused.
bool stopInsteadOfClose(QCloseEvent *ev, bool converting, bool &stop);

// A conversion that could not write its file whole, or read its source
// whole, with the reason (the old file stays).
void reportConversionWriteFailure(const QString &out, const QString &error);

// The end of a conversion: the record line cleared, the final count shown.
void showConversionCount(QLabel *count, QLabel *record, qint64 n);

} // namespace tav
