#pragma once

#include <QString>

// What a unit of measure needs before it is stored: a name and a sign that
// are more than blanks. Throws db::FieldError with the message for the
// user and the field to correct, the name first.
void checkUnitFilled(const QString &name, const QString &sign);
