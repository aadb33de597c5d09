#pragma once

namespace data {

class SqlSession;

// Deletes every business row, keeping the fixed rows the program relies on,
// the users, the reference data and the configuration keys 1 and 101.
void deleteAllData(SqlSession &session);

// Deletes one stock document, its lines first so none is left without it.
void deleteDocument(SqlSession &session, int documentId);

} // namespace data
