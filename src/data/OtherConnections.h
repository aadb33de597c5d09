#pragma once

namespace db {
class Attachment;
}

namespace data {

// How many other user connections the database has besides this one. A
// user without the administrator's rights sees only connections made under
// its own name.
int otherConnections(db::Attachment &attachment);

// Refuses, with a message naming how many, while other workstations are
// connected: lowering the counters or emptying the database under them
// would make keys they already hold collide.
void requireSoleConnection(db::Attachment &attachment);
// The same refusal for a count made otherwise (by the administrator).
void requireNoOtherConnections(int others);

} // namespace data
