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
// The same with `input` typed at its prompts (standard input ends after it).
ToolResult runAdminTool(const QStringList &arguments, const QString &input);

} // namespace testing_support
