#pragma once

class QLineEdit;

// The text fields of the log-in and password prompts take no more
// characters than the column that keeps the text, and only characters
// Windows-1251 can hold, so whatever is typed can be looked up or stored.
void limitToColumn(QLineEdit *field, int columnSize);

// The same for a password, which shows as "*" whatever the style's own
// password character.
void makePasswordField(QLineEdit *field, int columnSize);
