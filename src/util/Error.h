#pragma once

#include <QString>
#include <stdexcept>

namespace varnex {

// A failure the user is told about: the message is what the error box shows,
// the detail (a statement, the server's own text) is only for the log.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message, const QString &detail = QString());

    const QString &message() const { return m_message; }
    const QString &detail() const { return m_detail; }

private:
    QString m_message;
    QString m_detail;
};

} // namespace varnex
