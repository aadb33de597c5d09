#include "core/ProgramFiles.h"
#include "core/TXMLDataBase2.h"
#include "core/TXMLSettings.h"
#include "core/TzekXMLNode2.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "util/Error.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

using testing_support::TempDir;

namespace {

const QByteArray kHeader("<?xml version='1.0' encoding='ISO-8859-1' ?>\r\n");

class Settings : public ::testing::Test
{
protected:
    QString file() const { return m_dir.path(QStringLiteral("Varnex.xdb")); }
    void writeFile(const QByteArray &bytes) const { m_dir.writeFile(QStringLiteral("Varnex.xdb"), bytes); }
    QByteArray readFile() const { return m_dir.readFile(QStringLiteral("Varnex.xdb")); }

    TempDir m_dir;
};

TEST(ProgramFiles, SettingsFileTakesTheProgramNameWithItsOwnExtension)
{
    EXPECT_EQ(varnex::programFileWithExtension(QStringLiteral("/opt/v1.2/Varnex"), QStringLiteral(".xdb")),
              QStringLiteral("/opt/v1.2/Varnex.xdb"));
    EXPECT_EQ(varnex::programFileWithExtension(QStringLiteral("/opt/Varnex.exe"), QStringLiteral(".fdb")),
              QStringLiteral("/opt/Varnex.fdb"));
}

TEST_F(Settings, MissingFileReadsDefaultsAndIsCreatedWhenTheOwnerIsFreed)
{
    {
        TXMLSettings settings(file());
        settings.Open();
        EXPECT_EQ(settings.ReadString(QStringLiteral("db_server\\host"), QStringLiteral("localhost")),
                  QStringLiteral("localhost"));
        EXPECT_EQ(settings.ReadInteger(QStringLiteral("StartupSeed"), 7), 7);
        EXPECT_TRUE(settings.ReadBool(QStringLiteral("AutoBackup"), true));
        EXPECT_FALSE(QFile::exists(file()));
        settings.WriteBool(QStringLiteral("AutoBackup"), true);
        settings.WriteString(QStringLiteral("db_server\\host"), QStringLiteral("localhost"));
    }
    EXPECT_EQ(readFile(), kHeader + "<dataroot>\r\n  <AutoBackup>1</AutoBackup>\r\n  <db_server>\r\n"
                                    "    <host>localhost</host>\r\n  </db_server>\r\n</dataroot>");
}

TEST_F(Settings, IntegersTakeTheValidLeadingPartAndBoolsAreTrueOnlyForOne)
{
    writeFile(kHeader + "<dataroot><posLeft></posLeft><posTop>12px</posTop><Maximized>2</Maximized>"
                        "<a>$1F</a><b>x10</b><c>0X10</c><d>  -7</d><e>-$10</e><f>abc</f>"
                        "<g>99999999999</g><h>+0012</h><one>1</one><zero>0</zero></dataroot>");
    TXMLSettings settings(file());
    settings.Open();
    const auto integer = [&](const char *key) { return settings.ReadInteger(QString::fromLatin1(key), -99); };
    EXPECT_EQ(integer("posLeft"), 0);
    EXPECT_EQ(integer("posTop"), 12);
    EXPECT_EQ(integer("a"), 31);
    EXPECT_EQ(integer("b"), 16);
    EXPECT_EQ(integer("c"), 16);
    EXPECT_EQ(integer("d"), -7);
    EXPECT_EQ(integer("e"), -16);
    EXPECT_EQ(integer("f"), 0);
    EXPECT_EQ(integer("g"), 999999999);
    EXPECT_EQ(integer("h"), 12);
    EXPECT_EQ(integer("absent"), -99);

    EXPECT_FALSE(settings.ReadBool(QStringLiteral("Maximized"), true));
    EXPECT_TRUE(settings.ReadBool(QStringLiteral("one"), false));
    EXPECT_FALSE(settings.ReadBool(QStringLiteral("zero"), true));
    EXPECT_FALSE(settings.ReadBool(QStringLiteral("posLeft"), true));
    EXPECT_TRUE(settings.ReadBool(QStringLiteral("absent"), true));
    EXPECT_EQ(settings.ReadString(QStringLiteral("posLeft"), QStringLiteral("default")), QString());
}

TEST_F(Settings, WritingAPathReusesTheFirstElementOfEachName)
{
    writeFile(kHeader + "<dataroot><a><x>1</x></a><a><b>other</b></a></dataroot>");
    TXMLSettings settings(file());
    settings.setSaveWhenFreed(false);
    settings.Open();
    settings.WriteString(QStringLiteral("a\\b"), QStringLiteral("one"));
    settings.WriteString(QStringLiteral("a\\b"), QStringLiteral("two"));
    settings.WriteInteger(QStringLiteral("n"), -42);
    settings.Save();
    EXPECT_EQ(readFile(), kHeader + "<dataroot>\r\n  <a>\r\n    <x>1</x>\r\n    <b>two</b>\r\n  </a>\r\n"
                                    "  <a>\r\n    <b>other</b>\r\n  </a>\r\n  <n>-42</n>\r\n</dataroot>");
}

TEST_F(Settings, ValuesSurviveTheFileExceptOuterBlanks)
{
    {
        TXMLSettings settings(file());
        settings.Open();
        settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("„Торем“ & <Син>"));
        settings.WriteString(QStringLiteral("padded"), QStringLiteral("  x  "));
    }
    TXMLSettings settings(file());
    settings.Open();
    EXPECT_EQ(settings.ReadString(QStringLiteral("clientinfo\\company"), {}), QStringLiteral("„Торем“ & <Син>"));
    EXPECT_EQ(settings.ReadString(QStringLiteral("padded"), {}), QStringLiteral("x"));
}

TEST_F(Settings, SectionsShareOneDocumentAndOnlyTheOwnerSaves)
{
    {
        TXMLSettings settings(file());
        settings.Open();
        auto main = settings.OpenSection(QStringLiteral("frmMain"));
        EXPECT_EQ(main->SectionPath, QStringLiteral("frmMain"));
        auto child = main->OpenSection(QStringLiteral("frmMerki"));
        EXPECT_EQ(child->SectionPath, QStringLiteral("frmMain\\frmMerki"));
        EXPECT_EQ(main->OpenSection(QString())->SectionPath, QStringLiteral("frmMain"));

        child->WriteInteger(QStringLiteral("posLeft"), 10);
        EXPECT_EQ(settings.ReadInteger(QStringLiteral("frmMain\\frmMerki\\posLeft"), 0), 10);
        settings.WriteString(QStringLiteral("shared"), QStringLiteral("top"));
        EXPECT_EQ(child->ReadString(QStringLiteral("shared"), {}), QString());
        EXPECT_EQ(child->ReadStringInherited(QStringLiteral("shared"), {}), QStringLiteral("top"));
        EXPECT_EQ(child->ReadStringInherited(QStringLiteral("nowhere"), QStringLiteral("d")), QStringLiteral("d"));

        settings.OpenSection(QStringLiteral("NeverWritten"));
        child.reset();
        main.reset();
        EXPECT_FALSE(QFile::exists(file()));
    }
    const QByteArray saved = readFile();
    EXPECT_TRUE(saved.contains("<frmMerki>\r\n      <posLeft>10</posLeft>\r\n    </frmMerki>"));
    EXPECT_TRUE(saved.contains("  <NeverWritten/>"));
}

TEST_F(Settings, HasSettingsSectionLooksUnderSettings)
{
    writeFile(kHeader + "<dataroot><settings><grid/></settings></dataroot>");
    TXMLSettings settings(file());
    settings.setSaveWhenFreed(false);
    settings.Open();
    EXPECT_TRUE(settings.HasSettingsSection(QStringLiteral("grid")));
    EXPECT_FALSE(settings.HasSettingsSection(QStringLiteral("list")));
}

TEST_F(Settings, ReadOnlyFileIsNeverWrittenAndNothingIsReported)
{
    const QByteArray original = kHeader + "<dataroot><a>1</a></dataroot>";
    writeFile(original);
    QFile::setPermissions(file(), QFile::ReadOwner | QFile::ReadGroup);
    {
        TXMLSettings settings(file());
        settings.Open();
        settings.WriteString(QStringLiteral("a"), QStringLiteral("2"));
        EXPECT_NO_THROW(settings.Save());
    }
    EXPECT_EQ(readFile(), original);
}

TEST_F(Settings, UnparsableFileIsKeptAsBadBeforeTheFirstSave)
{
    const QByteArray broken = kHeader + "<dataroot><a>1</a><b x=oops>2</b><c>lost?</c></dataroot>";
    m_dir.writeFile(QStringLiteral("Varnex.xdb.bad"), "an older copy");
    writeFile(broken);
    {
        TXMLSettings settings(file());
        settings.Open();
        EXPECT_EQ(settings.ReadString(QStringLiteral("a"), {}), QStringLiteral("1"));
        EXPECT_EQ(settings.ReadString(QStringLiteral("c"), QStringLiteral("absent")), QStringLiteral("absent"));
        settings.WriteString(QStringLiteral("z"), QStringLiteral("new"));
        settings.Save();
        EXPECT_EQ(m_dir.readFile(QStringLiteral("Varnex.xdb.bad")), broken);
        settings.WriteString(QStringLiteral("z"), QStringLiteral("newer"));
    }
    // The second save writes over the sound file it made itself, not over the copy.
    EXPECT_EQ(m_dir.readFile(QStringLiteral("Varnex.xdb.bad")), broken);
    EXPECT_TRUE(readFile().contains("<z>newer</z>"));
}

TEST_F(Settings, TextOutsideWindows1251IsRefusedAndTheDocumentIsUntouched)
{
    TXMLSettings settings(file());
    settings.setSaveWhenFreed(false);
    settings.Open();
    settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Цена в €"));
    try {
        settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Отметка ✓"));
        FAIL() << "a character outside Windows-1251 was accepted";
    } catch (const varnex::Error &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("✓")));
    }
    EXPECT_EQ(settings.ReadString(QStringLiteral("clientinfo\\company"), {}), QStringLiteral("Цена в €"));
}

TEST_F(Settings, KeysThatCannotBeElementNamesAreRefusedAndChangeNothing)
{
    const QByteArray original = kHeader + "<dataroot>\r\n  <clientinfo>\r\n    <network>0</network>\r\n"
                                          "  </clientinfo>\r\n</dataroot>";
    writeFile(original);
    TXMLSettings settings(file());
    settings.setSaveWhenFreed(false);
    settings.Open();
    const QStringList refused{QStringLiteral("clientinfo\\a b"), QStringLiteral("x]]>y"),
                              QStringLiteral("fresh\\/network"), QStringLiteral("a<b"), QStringLiteral("1st"),
                              QStringLiteral("clientinfo\\company\\名"), QStringLiteral("a\\").repeated(TzekXMLNode2::MaxDepth)};
    for (const QString &key : refused) {
        EXPECT_THROW(settings.WriteString(key, QStringLiteral("v")), varnex::Error) << key.toStdString();
        EXPECT_THROW(settings.WriteInteger(key, 1), varnex::Error) << key.toStdString();
        EXPECT_THROW(settings.WriteBool(key, true), varnex::Error) << key.toStdString();
    }
    EXPECT_THROW(settings.OpenSection(QStringLiteral("frm Main")), varnex::Error);
    settings.Save();
    EXPECT_EQ(readFile(), original);

    settings.WriteString(QStringLiteral("frmMain\\grid_layout(grdMain)"), QStringLiteral("AAAA"));
    EXPECT_EQ(settings.ReadString(QStringLiteral("frmMain\\grid_layout(grdMain)"), {}), QStringLiteral("AAAA"));
}

TEST_F(Settings, ValuesHoldingTheCDataTerminatorReadBackExactly)
{
    const QString hostile = QStringLiteral("a]]></lastLogin><clientinfo><network>1</network></clientinfo><x>");
    {
        TXMLSettings settings(file());
        settings.Open();
        settings.WriteString(QStringLiteral("lastLogin"), hostile);
        settings.WriteString(QStringLiteral("k"), QStringLiteral("x]]>y"));
    }
    TXMLSettings settings(file());
    settings.setSaveWhenFreed(false);
    settings.Open();
    EXPECT_EQ(settings.ReadString(QStringLiteral("lastLogin"), {}), hostile);
    EXPECT_EQ(settings.ReadString(QStringLiteral("k"), {}), QStringLiteral("x]]>y"));
    EXPECT_EQ(settings.ReadString(QStringLiteral("clientinfo\\network"), QStringLiteral("0")), QStringLiteral("0"));
}

TEST(SettingsFile, SavingWithoutAFileNameFails)
{
    TXMLDataBase2 database{QString()};
    try {
        database.Save();
        FAIL() << "saved without a file name";
    } catch (const varnex::Error &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot save XML DataBase!\n\rNo FileName is specified!"));
    }
}

} // namespace
