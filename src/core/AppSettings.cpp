#include "core/AppSettings.h"

#include "util/Error.h"

namespace {
TSettings *g_settings = nullptr;
}

TSettings &AppSettings()
{
    if (!g_settings)
        throw varnex::Error(QStringLiteral("Настройките не са заредени."));
    return *g_settings;
}

void SetAppSettings(TSettings *settings)
{
    g_settings = settings;
}
