#pragma once

#include <functional>

namespace data {

class SqlSession;

// The schema version this program works with.
const int kTargetSchemaVersion = 20113;
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

// Gives SYSDBA full rights on every table; false at the first failure.
bool grantTableRights(SqlSession &session);

} // namespace data
