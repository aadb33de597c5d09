#include "core/TzekXMLParser2.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <memory>

#include <gtest/gtest.h>

namespace {

QString lines(std::initializer_list<const char *> parts)
{
    QStringList all;
    for (const char *part : parts)
        all << QString::fromUtf8(part);
    return all.join(QLatin1String("\r\n"));
}

TEST(XmlWriter, WritesTheSettingsExampleByteForByte)
{
    TzekXMLParser2 doc;
    doc.SetName(QStringLiteral("dataroot"));
    doc.AddChild(QStringLiteral("AutoBackup"))->SetText(QStringLiteral("1"));
    doc.AddChild(QStringLiteral("db_server"))->AddChild(QStringLiteral("host"))->SetText(QStringLiteral("localhost"));

    EXPECT_EQ(doc.ToText(), lines({"<?xml version='1.0' encoding='ISO-8859-1' ?>",
                                   "<dataroot>",
                                   "  <AutoBackup>1</AutoBackup>",
                                   "  <db_server>",
                                   "    <host>localhost</host>",
                                   "  </db_server>",
                                   "</dataroot>"}));
}

TEST(XmlWriter, ChoosesQuotesCDataAndEmptyForms)
{
    TzekXMLParser2 doc;
    doc.SetName(QStringLiteral("r"));
    TzekXMLNode2 *quoted = doc.AddChild(QStringLiteral("a"));
    quoted->SetAttribute(QStringLiteral("plain"), QStringLiteral("x"));
    quoted->SetAttribute(QStringLiteral("apos"), QStringLiteral("it's"));
    doc.AddChild(QStringLiteral("lt"))->SetText(QStringLiteral("a<b & c"));
    doc.AddChild(QStringLiteral("amp"))->SetText(QStringLiteral("a & b"));
    TzekXMLNode2 *mixed = doc.AddChild(QStringLiteral("m"));
    mixed->SetText(QStringLiteral("x>y"));
    mixed->AddChild(QStringLiteral("e"));

    EXPECT_EQ(doc.ToText(), lines({"<?xml version='1.0' encoding='ISO-8859-1' ?>",
                                   "<r>",
                                   "  <a plain='x' apos=\"it's\"/>",
                                   "  <lt><![CDATA[a<b & c]]></lt>",
                                   "  <amp>a & b</amp>",
                                   "  <m><![CDATA[x>y]]>",
                                   "    <e/>",
                                   "  </m>",
                                   "</r>"}));
}

TEST(XmlWriter, SplitsTheCDataTerminatorOverTwoSections)
{
    TzekXMLParser2 doc;
    doc.SetName(QStringLiteral("r"));
    doc.AddChild(QStringLiteral("a"))->SetText(QStringLiteral("x]]>y]]>"));
    doc.AddChild(QStringLiteral("b"))->SetText(QStringLiteral("]] >"));
    EXPECT_EQ(doc.ToText(), lines({"<?xml version='1.0' encoding='ISO-8859-1' ?>",
                                   "<r>",
                                   "  <a><![CDATA[x]]]]><![CDATA[>y]]]]><![CDATA[>]]></a>",
                                   "  <b><![CDATA[]] >]]></b>",
                                   "</r>"}));
}

TEST(XmlNode, FreesAnyDepthOfElements)
{
    auto doc = std::make_unique<TzekXMLParser2>();
    TzekXMLNode2 *node = doc.get();
    for (int level = 0; level < 200000; ++level)
        node = node->AddChild(QStringLiteral("a"));
    EXPECT_EQ(node->depth(), 200001);
    doc->clearElement();
    EXPECT_TRUE(doc->children().empty());

    node = doc.get();
    for (int level = 0; level < 200000; ++level)
        node = node->AddChild(QStringLiteral("a"));
    doc.reset();
}

TEST(XmlNode, ElementNamesAreXmlNamesOrTheGridLayoutKeys)
{
    for (const char *name : {"lastLogin", "db_server", "_x", "a-b.c", "ns:tag", "Фирма1", "grid_layout(grdMain)"})
        EXPECT_TRUE(TzekXMLNode2::isElementName(QString::fromUtf8(name))) << name;
    for (const char *name : {"", "a b", "1a", "-a", "(a)", "a]]>", "a/", "/a", "a<b", "a>b", "a=b", "a'b", "a\"b",
                             "a&b", "![CDATA[", "?xml", "a\tb", "a\r\nb", "a\xc2\xa0" "b"})
        EXPECT_FALSE(TzekXMLNode2::isElementName(QString::fromUtf8(name))) << name;
}

TEST(XmlWriter, KeepsTheDeclarationThatWasRead)
{
    TzekXMLParser2 doc;
    ASSERT_EQ(doc.ParseText(QStringLiteral("<?xml version=\"1.1\" encoding='windows-1251' standalone='yes'?><x/>")),
              QString());
    EXPECT_EQ(doc.ToText(), lines({"<?xml version='1.1' encoding='windows-1251' ?>", "<x/>"}));
}

TEST(XmlWriter, CDataFlagFollowsEveryTextAssignment)
{
    TzekXMLNode2 node(QStringLiteral("ns:tag"));
    EXPECT_EQ(node.namespacePrefix(), QStringLiteral("ns"));
    node.SetText(QStringLiteral("<"));
    EXPECT_TRUE(node.isCData());
    node.SetText(QStringLiteral("plain"));
    EXPECT_FALSE(node.isCData());
}

TEST(XmlWriter, SavesWindows1251BytesAndRefusesWhatDoesNotFit)
{
    TzekXMLParser2 doc;
    doc.SetName(QStringLiteral("r"));
    doc.SetText(QStringLiteral("Фирма €"));
    const QString path = QDir::temp().filePath(QStringLiteral("varnex-xmlwriter-%1.xdb").arg(QCoreApplication::applicationPid()));
    doc.SaveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith(QByteArray("<r>\xD4\xE8\xF0\xEC\xE0 \x88</r>")));
    file.close();

    doc.SetText(QStringLiteral("✓"));
    EXPECT_THROW(doc.SaveToFile(path), std::exception);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith(QByteArray(" \x88</r>")));
    file.remove();
}

} // namespace
