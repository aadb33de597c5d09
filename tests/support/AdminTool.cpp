#include "support/AdminTool.h"

#include <QProcess>

namespace testing_support {

ToolResult runAdminTool(const QStringList &arguments)
{
    return runAdminTool(arguments, QString());
}

ToolResult runAdminTool(const QStringList &arguments, const QString &input)
{
    QProcess process;
    process.start(QStringLiteral(VARNEX_BIN_DIR "/varnex-admin"), arguments);
    process.write(input.toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace testing_support
