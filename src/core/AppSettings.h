#pragma once

class TSettings;

// The program's one global settings object, created before anything else
// and released after everything else. Windows open their sections from it.
TSettings &AppSettings();
// Installs the global object (the program at start, tests for their own).
void SetAppSettings(TSettings *settings);
