#include "support/AdminTool.h"

#include <QProcess>

namespace testing_support {

ToolResult runAdminTool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VARNEX_BIN_DIR "/varnex-admin"), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace testing_support
