#include "hub/app.h"
#include "core/portlock.h"

#include <QApplication>

int main(int argc, char **argv)
{
    tav::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    return tav::runProgram(app);
}
