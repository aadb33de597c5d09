#pragma once

#include "core/AppSettings.h"
#include "core/TXMLSettings.h"
#include "support/DatabaseTest.h"
#include "support/ScriptedDialogs.h"
#include "support/TypeText.h"

namespace testing_support {

// A window test: scripted dialogs and a settings file of its own.
class GuiTest : public ::testing::Test
{
protected:
    GuiTest()
        : settings(dir.path(QStringLiteral("Varnex.xdb")))
    {
        settings.setSaveWhenFreed(false);
        settings.Open();
        SetAppSettings(&settings);
    }
    ~GuiTest() override { SetAppSettings(nullptr); }

    TempDir dir;
    TXMLSettings settings;
    ScriptedDialogs dialogs;
};

// A window test on a fresh database that is the program's data module.
class GuiDatabaseTest : public GuiTest
{
protected:
    GuiDatabaseTest() { SetDataModule(dm.get()); }
    ~GuiDatabaseTest() override { SetDataModule(nullptr); }

    FreshDatabase database;
    std::unique_ptr<Tdm> dm = database.connect();
};

} // namespace testing_support
