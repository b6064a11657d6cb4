#include "core/app.h"
#include "core/form.h"
#include "stations/frmConvertAero.h"
#include "stations/frmConvertILG.h"
#include "stations/frmILGfinddbf.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerStationWindows()
{
    Windows::registerFactory(QStringLiteral("frmConvertILG"), [] { return new frmConvertILG; });
    Windows::registerFactory(QStringLiteral("frmILGfinddbf"), [] { return new frmILGfinddbf; });
    Windows::registerFactory(QStringLiteral("frmConvertAero"), [] { return new frmConvertAero; });
}

} // namespace tav
