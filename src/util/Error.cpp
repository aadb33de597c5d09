#include "util/Error.h"

namespace varnex {

Error::Error(const QString &message, const QString &detail)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_detail(detail)
{
}

} // namespace varnex
