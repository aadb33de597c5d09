#pragma once

#include <cstdint>

namespace db {

// The client library's handles are plain integers; keeping the type here
// lets headers above this layer stay free of Firebird's own headers.
using Handle = std::uint32_t;

} // namespace db
