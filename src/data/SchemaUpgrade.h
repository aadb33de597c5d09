#pragma once

#include <QString>

#include <functional>

namespace data {

class SqlSession;

// The schema version this program works with.
const int kTargetSchemaVersion = 20121;
// What a database without a readable version counts as.
const int kFirstSchemaVersion = 10000;

// Brings a database of the given version to the current structure. Every
// step first looks whether its effect is already there and skips itself if
// so, so an upgrade interrupted part-way finishes at the next start. Returns
// false at the first statement that fails, keeping the steps before it.
// `adjustCounters` is the counter resynchronisation run after the 20108 step.
// Steps above `target` are left out; the program always upgrades to the
// current version, the installation tool can make databases of older ones.
bool upgradeSchema(SqlSession &session, int version, const std::function<void()> &adjustCounters,
                   int target = kTargetSchemaVersion);

// `user` as the identifier a GRANT names: in capitals unless written in
// double quotes, always quoted with inner quotes doubled; empty when no
// user can have that name.
QString granteeIdentifier(const QString &user);

// Whether SYSDBA and `user` hold every right the grants give, asked in one
// statement; false for a name no user can have.
bool hasTableRights(SqlSession &session, const QString &user);

// Gives SYSDBA and `user` full rights on every table and the right to run
// the stored procedures; false at the first failure or for a name no user
// can have.
bool grantTableRights(SqlSession &session, const QString &user);

} // namespace data
