#pragma once

#include <QString>

namespace varnex {

// The version of this build, as the package, "--version" and the About
// window show it.
QString programVersion();

} // namespace varnex
