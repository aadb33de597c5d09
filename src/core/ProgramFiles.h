#pragma once

#include <QString>

namespace varnex {

// Files that live beside the program take its name with another extension:
// "Varnex" keeps "Varnex.xdb" and "Varnex.fdb"; "Varnex.exe" would too.
QString programFileWithExtension(const QString &programPath, const QString &extension);

// The running program's own path, also before the application object exists.
QString programPath();

// The directory of the program file, with its trailing separator.
QString programDirectory();

} // namespace varnex
