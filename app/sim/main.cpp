#include "SimProgram.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dunmere-sim"));
    dunmere::sim::SimProgram program;
    const int code = program.start(QCoreApplication::arguments());
    return code >= 0 ? code : QCoreApplication::exec();
}
