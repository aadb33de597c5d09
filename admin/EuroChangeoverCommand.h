#pragma once

namespace admin {

struct Invocation;

// "euro-changeover БАЗА [--date ГГГГ-ММ-ДД] [--backup-dir ДИРЕКТОРИЯ] [--yes]":
// a backup, what will change, the question, and the conversion of the
// stock side of a database from leva to euro.
void runEuroChangeoverCommand(Invocation &invocation);

} // namespace admin
