#pragma once

#include <QString>
#include <QStringList>

namespace testing_support {

struct ToolResult
{
    int code;
    QString out;
    QString err;
};

// Runs the built varnex-admin as an installer would, UTF-8 in and out.
ToolResult runAdminTool(const QStringList &arguments);

} // namespace testing_support
