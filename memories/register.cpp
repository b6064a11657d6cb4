#include "hub/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/textfile.h"
#include "memories/frmMemcell.h"
#include "memories/frmMemman.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerMemoryWindows()
{
    Windows::registerWindow<frmMemman>();
    Windows::registerWindow<frmMemcell>();

    // Memory files are read into and written from the image; the manager,
    // when open, shows what was read.
    registerReader(FileKind::Memories, [](const QString &path) {
        if (auto *mm = Windows::existing<frmMemman>(); mm && mm->isLoadedForm())
            return mm->memfile2ram(path);
        QStringList notice;
        const FileResult r = frmMemman::readMemoryFile(path, &notice);
        frmMemman::showFileNotice(notice);
        return r;
    });
    registerWriter(FileKind::Memories, [](const QString &path) {
        if (auto *mm = Windows::existing<frmMemman>(); mm && mm->isLoadedForm())
            return mm->memram2file(path);
        QString error;
        if (!writeTextLines(path, memState().image.fileLines(), &error))
            return FileResult::failure(error);
        memState().saved = memState().image.fileLines();
        return FileResult::success();
    });
}

} // namespace tav
