#pragma once

namespace admin {

struct Invocation;

// "orphan-lines БАЗА [--delete [--yes]]": the lines of documents that were
// never stored, listed, or removed while nobody else is connected.
void runOrphanLinesCommand(Invocation &invocation);

} // namespace admin
