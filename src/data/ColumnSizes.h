#pragma once

// Sizes, in characters, of the text columns that prompts outside any
// dataset let users type into (editors bound to a dataset take theirs from
// the statement's description). An editor limited to its column's size
// cannot hand the database a value it would refuse; keep these in step with
// the install script.
namespace data {

// USERS
constexpr int kUserLoginSize = 20;
constexpr int kUserPasswordSize = 40;

} // namespace data
