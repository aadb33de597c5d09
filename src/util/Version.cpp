#include "util/Version.h"

namespace varnex {

QString programVersion()
{
    return QStringLiteral(VARNEX_VERSION);
}

} // namespace varnex
