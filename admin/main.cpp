#include "AdminCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromUtf8(argv[i]);

    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    const int code = admin::run(arguments, QCoreApplication::applicationDirPath(), out, err, &in);
    out.flush();
    err.flush();
    return code;
}
