#pragma once

#include <QString>

#include <vector>

namespace db {

// The sentence a user reads for a server error: what happened and what to
// do, chosen by the error codes of the status vector (primary and
// secondary). Empty for errors without one, whose own text is shown.
QString serverErrorText(const std::vector<long> &codes);

} // namespace db
