#pragma once
// The one way a file kind is joined to the window whose data it holds: its
// reader or writer works on that window, and what happens while the window
// is closed is said once, where the kind is registered.

#include "core/filekinds.h"
#include "core/form.h"

namespace tav {

enum class ClosedWindow {
    Refuse, // the file is refused, with `refusal` as the reason
    Skip,   // nothing is done, and that is no failure
    Load,   // the window is loaded to take the file
};

template <class W>
std::function<FileResult(const QString &)>
windowFile(FileResult (W::*fn)(const QString &), ClosedWindow closed,
           const QString &refusal = QStringLiteral("The window for this file is not open."))
{
    return [fn, closed, refusal](const QString &path) {
        W *w = closed == ClosedWindow::Load ? Windows::get<W>() : Windows::existing<W>();
        if (w && closed == ClosedWindow::Load)
            w->load();
        if (!w || !w->isLoadedForm())
            return closed == ClosedWindow::Skip ? FileResult::success() : FileResult::failure(refusal);
        return (w->*fn)(path);
    };
}

} // namespace tav
