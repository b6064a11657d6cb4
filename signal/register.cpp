#include "core/app.h"
#include "core/form.h"
#include "signal/frmSmeter.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerSignalWindows()
{
    Windows::registerFactory(QStringLiteral("frmSmeter"), [] { return new frmSmeter; });
}

} // namespace tav
