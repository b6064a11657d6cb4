#include "hub/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/ui.h"
#include "logbook/frmLog.h"
#include "logbook/frmLogdialogs.h"
#include "logbook/frmLoginput.h"
#include "logbook/logbook.h"

#include <QFileInfo>

namespace tav {

namespace {

FileResult logfile2ram(const QString &path)
{
    HourglassGuard busy;
    const int capacity = LogStore::capacity();
    QString tooLarge;
    auto content = readLogFile(path, capacity, &tooLarge);
    if (!content)
        return FileResult::failure(tooLarge.isEmpty() ? QStringLiteral("The file could not be read.") : tooLarge);
    const LeftOut leftOut{content->linesInFile - content->records.size(), content->countStopped};
    logStore().records = std::move(content->records);
    logStore().saved = logStore().records;
    if (Windows::loaded(WindowId::frmLog))
        if (auto *w = Windows::existing<frmLog>())
            w->fileLoaded(QFileInfo(path).fileName());
    if (leftOut.any())
        msgBox(QStringList{QStringLiteral("The file holds %1 records; the logbook holds at most %2.")
                               .arg(leftOutText({content->linesInFile, content->countStopped}))
                               .arg(capacity),
                           QStringLiteral("Only the first %1 records were loaded.").arg(capacity),
                           setupSizeAdvice(Setting::DimLog, content->linesInFile, content->countStopped, 1)},
               MsgIcon::Exclamation, QStringLiteral("Logging"));
    return FileResult::loaded(leftOut);
}

FileResult logram2file(const QString &path)
{
    HourglassGuard busy;
    QString error;
    if (!writeLogFile(path, logStore().records, &error))
        return FileResult::failure(error);
    logStore().saved = logStore().records;
    return FileResult::success();
}

} // namespace

// The windows and file kinds of this folder join the program here.
void registerLogbookWindows()
{
    Windows::registerWindow<frmLog>();
    Windows::registerWindow<frmLoginput>();
    Windows::registerWindow<frmLogFormat>();
    Windows::registerWindow<frmLogsort>();
    registerReader(FileKind::Log, logfile2ram);
    registerWriter(FileKind::Log, logram2file);
}

} // namespace tav
