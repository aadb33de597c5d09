#include "db/ServerErrorText.h"

#include <ibase.h>

#include <algorithm>
#include <initializer_list>

namespace db {

namespace {

bool anyOf(const std::vector<long> &codes, std::initializer_list<long> wanted)
{
    return std::any_of(codes.begin(), codes.end(), [&](long code) {
        return std::find(wanted.begin(), wanted.end(), code) != wanted.end();
    });
}

} // namespace

QString serverErrorText(const std::vector<long> &codes)
{
    // A lost connection is named first: whatever else the server reports
    // then, nothing more can be done in this session.
    if (anyOf(codes, {isc_network_error, isc_net_read_err, isc_net_write_err, isc_lost_db_connection, isc_conn_lost,
                      isc_bad_db_handle, isc_shutdown, isc_att_shutdown}))
        return QStringLiteral("Връзката с базата данни е прекъсната. Затворете програмата и я стартирайте отново; "
                              "ако това се повтаря, проверете мрежата и сървъра на базата данни.");
    if (anyOf(codes, {isc_lock_conflict, isc_deadlock, isc_update_conflict, isc_concurrent_transaction}))
        return QStringLiteral("Записът се променя в момента от друг потребител. Опитайте отново след малко.");
    if (anyOf(codes, {isc_unique_key_violation, isc_no_dup}))
        return QStringLiteral("Вече има запис със същите данни. Променете данните и опитайте отново.");
    if (anyOf(codes, {isc_foreign_key}))
        return QStringLiteral("Записът се използва на друго място и не може да бъде променен или изтрит.");
    if (anyOf(codes, {isc_string_truncation}))
        return QStringLiteral("Текстът е по-дълъг от допустимото. Съкратете го и опитайте отново.");
    return QString();
}

} // namespace db
