#include "core/app.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return tav::runProgram(app);
}
