#pragma once

// Sizes, in characters, of the text columns that windows let users type
// into directly. An editor limited to its column's size cannot hand the
// database a value it would refuse; keep these in step with the install
// script.
namespace data {

// USERS
constexpr int kUserLoginSize = 20;
constexpr int kUserPasswordSize = 40;

// MERKI
constexpr int kUnitNameSize = 40;
constexpr int kUnitSignSize = 10;

} // namespace data
