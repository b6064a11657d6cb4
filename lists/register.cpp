#include "core/app.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerListWindows()
{
}

} // namespace tav
