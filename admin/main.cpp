#include "AdminCommand.h"
#include "PrintCommands.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromUtf8(argv[i]);
    // Pages are drawn with fonts, which need a graphical application; the
    // tool runs without a display, so it draws off screen.
    // Without a session's runtime folder Qt would warn on stderr, where the
    // tool's one line of error belongs; a private one serves the run.
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<QTemporaryDir> runtimeFolder;
    if (admin::needsGraphics(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            runtimeFolder = std::make_unique<QTemporaryDir>();
            if (runtimeFolder->isValid())
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    const int code = admin::run(arguments, QCoreApplication::applicationDirPath(), out, err, &in);
    out.flush();
    err.flush();
    app.reset();
    runtimeFolder.reset();
    // Every connection is closed by now, but the embedded engine's service
    // thread may still be winding down after a backup or restore; unloading
    // the library under it at exit crashes the process and turns a finished
    // command into a failed one. So the tool ends without unloading it.
    std::fflush(nullptr);
    std::_Exit(code);
}
