#pragma once

namespace admin {

struct Invocation;

// "workstation СЪРВЪР:ПЪТ": makes this workstation work with the database on
// a server, once the connection the program will make has been tried.
void runWorkstationCommand(Invocation &invocation);

} // namespace admin
