#include "core/TzekXMLParser2.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QString firstLine(const QString &error)
{
    return error.section(QLatin1String("\r\n"), 0, 0);
}

TEST(XmlReader, ReadsBackWhatTheWriterWrote)
{
    TzekXMLParser2 original;
    original.SetName(QStringLiteral("dataroot"));
    TzekXMLNode2 *server = original.AddChild(QStringLiteral("db_server"));
    server->SetAttribute(QStringLiteral("kind"), QStringLiteral("it's"));
    server->AddChild(QStringLiteral("host"))->SetText(QStringLiteral("a<b>c"));
    server->AddChild(QStringLiteral("pass"))->SetText(QStringLiteral("x & y ' \""));
    server->AddChild(QStringLiteral("login"))->SetText(QStringLiteral("a]]></login><network>1</network>]]>]]]>"));
    original.AddChild(QStringLiteral("empty"));
    original.AddChild(QStringLiteral("company"))->SetText(QStringLiteral("Фирма „Торем“ ООД"));

    TzekXMLParser2 copy;
    ASSERT_EQ(copy.ParseText(original.ToText()), QString());
    EXPECT_EQ(copy.ToText(), original.ToText());
    EXPECT_EQ(copy.FindChild(QStringLiteral("db_server"))->GetAttribute(QStringLiteral("kind")), QStringLiteral("it's"));
    EXPECT_EQ(copy.FindChild(QStringLiteral("db_server"))->FindChild(QStringLiteral("host"))->text(), QStringLiteral("a<b>c"));
    EXPECT_EQ(copy.FindChild(QStringLiteral("db_server"))->FindChild(QStringLiteral("login"))->text(),
              QStringLiteral("a]]></login><network>1</network>]]>]]]>"));
    EXPECT_EQ(copy.FindChild(QStringLiteral("db_server"))->children().size(), 3u);
}

TEST(XmlReader, TrimsTextsAndForgivesMismatchedEndTags)
{
    TzekXMLParser2 doc;
    ASSERT_EQ(doc.ParseText(QStringLiteral("<r>  outer  <a>  x y  </b> stray text <a>second</a><c><![CDATA[ <z> ]]></c></r> trailing")),
              QString());
    EXPECT_EQ(doc.name(), QStringLiteral("r"));
    EXPECT_EQ(doc.text(), QStringLiteral("outer"));
    ASSERT_EQ(doc.children().size(), 3u);
    EXPECT_EQ(doc.FindChild(QStringLiteral("a"))->text(), QStringLiteral("x y")); // the first "a" wins
    EXPECT_EQ(doc.FindChild(QStringLiteral("c"))->text(), QStringLiteral("<z>"));
    EXPECT_TRUE(doc.FindChild(QStringLiteral("c"))->isCData());
    EXPECT_EQ(doc.FindChild(QStringLiteral("A")), nullptr); // names keep their case
}

TEST(XmlReader, LaterAttributeOfTheSameNameReplacesTheValue)
{
    TzekXMLParser2 doc;
    ASSERT_EQ(doc.ParseText(QStringLiteral("<r a='1' b =\"2\" a='3'/>")), QString());
    ASSERT_EQ(doc.attributes().size(), 2);
    EXPECT_EQ(doc.GetAttribute(QStringLiteral("a")), QStringLiteral("3"));
    EXPECT_EQ(doc.GetAttribute(QStringLiteral("b")), QStringLiteral("2"));
    EXPECT_EQ(doc.GetAttribute(QStringLiteral("none")), QString());
}

TEST(XmlReader, ReparsingReplacesTheWholeDocument)
{
    TzekXMLParser2 doc;
    ASSERT_EQ(doc.ParseText(QStringLiteral("<?xml version='9'?><old a='1'><x>1</x></old>")), QString());
    ASSERT_EQ(doc.ParseText(QStringLiteral("<new/>")), QString());
    EXPECT_EQ(doc.name(), QStringLiteral("new"));
    EXPECT_TRUE(doc.children().empty());
    EXPECT_TRUE(doc.attributes().isEmpty());
    EXPECT_TRUE(doc.ToText().startsWith(QLatin1String("<?xml version='1.0'")));
}

struct BrokenInput
{
    const char *source;
    const char *message;
};

class XmlReaderErrors : public ::testing::TestWithParam<BrokenInput>
{
};

TEST_P(XmlReaderErrors, StopWithTheirMessage)
{
    TzekXMLParser2 doc;
    const QString error = doc.ParseText(QString::fromUtf8(GetParam().source));
    EXPECT_TRUE(firstLine(error).startsWith(QString::fromUtf8(GetParam().message) + QLatin1String(" near ")))
        << error.toStdString();
    EXPECT_EQ(doc.lastError(), error);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPath, XmlReaderErrors,
    ::testing::Values(BrokenInput{"", "Missing <"},
                      BrokenInput{"just text", "Missing <"},
                      BrokenInput{"<?xml version='1.0'", "Missing ?> in xml declaration."},
                      BrokenInput{"<r><a", "Missing >"},
                      BrokenInput{"<r a>", "missing = when parsing attributes"},
                      BrokenInput{"<r a=1>", "missing value delimiter when parsing attributes"},
                      BrokenInput{"<r a=\"1>", "Expected closing \" when parsing attributes"},
                      BrokenInput{"<r a='1>", "Expected closing ' when parsing attributes"},
                      BrokenInput{"<r>text", "Expected < when parsing text"},
                      BrokenInput{"<r><![CDATA[abc</r>", "Expected ]]> when parsing CDATA section"},
                      BrokenInput{"<r><a>1</a>", "Missing <"}));

TEST(XmlReader, ErrorTextShowsTheSurroundingsThePositionAndThePartialTree)
{
    const QString source = QStringLiteral("<root><first>1</first><second>2</second><third x=oops/></root>");
    TzekXMLParser2 doc;
    const QString error = doc.ParseText(source);

    const qsizetype position = source.indexOf(QLatin1String("/></root>")) + 3; // just past the tag
    const QString expected = QStringLiteral("missing value delimiter when parsing attributes near ")
                             + source.mid(position - 1 - 20, 50) + QLatin1String("\r\nError position=")
                             + QString::number(position) + QLatin1String("\r\n") + doc.ToText();
    EXPECT_EQ(error, expected);
    // What was read before the error stays, including the element being read.
    ASSERT_EQ(doc.children().size(), 3u);
    EXPECT_EQ(doc.FindChild(QStringLiteral("second"))->text(), QStringLiteral("2"));
    EXPECT_EQ(doc.FindChild(QStringLiteral("third"))->name(), QStringLiteral("third"));
}

TEST(XmlReader, ErrorNearTheStartQuotesFromTheFirstCharacter)
{
    TzekXMLParser2 doc;
    const QString error = doc.ParseText(QStringLiteral("<r a>"));
    EXPECT_TRUE(error.startsWith(QLatin1String("missing = when parsing attributes near <r a>\r\nError position=6\r\n")))
        << error.toStdString();
}

QString nested(int levels, bool closed)
{
    QString source = QStringLiteral("<a>").repeated(levels);
    if (closed)
        source += QStringLiteral("</a>").repeated(levels);
    return source;
}

int deepest(const TzekXMLNode2 &root)
{
    int levels = 1;
    for (const TzekXMLNode2 *node = &root; !node->children().empty(); node = node->children().front().get())
        ++levels;
    return levels;
}

TEST(XmlReader, RefusesNestingDeeperThanTheLimitAndKeepsWhatCameBefore)
{
    for (const bool closed : {false, true}) {
        TzekXMLParser2 doc;
        const QString error = doc.ParseText(nested(closed ? 200000 : 40000, closed));
        EXPECT_TRUE(firstLine(error).startsWith(QLatin1String("Elements nested deeper than 256 levels near ")))
            << firstLine(error).toStdString();
        EXPECT_TRUE(error.contains(QLatin1String("\r\nError position=")));
        EXPECT_EQ(deepest(doc), TzekXMLNode2::MaxDepth);
    }

    TzekXMLParser2 deepestAllowed;
    ASSERT_EQ(deepestAllowed.ParseText(nested(TzekXMLNode2::MaxDepth, true)), QString());
    TzekXMLParser2 copy;
    ASSERT_EQ(copy.ParseText(deepestAllowed.ToText()), QString());
    EXPECT_EQ(deepest(copy), TzekXMLNode2::MaxDepth);
}

TEST(XmlReader, JoinsAdjacentCDataSections)
{
    TzekXMLParser2 doc;
    ASSERT_EQ(doc.ParseText(QStringLiteral("<r><a><![CDATA[ x]]]]><![CDATA[>y ]]></a><b>1</b></r>")), QString());
    EXPECT_EQ(doc.FindChild(QStringLiteral("a"))->text(), QStringLiteral("x]]>y"));
    EXPECT_EQ(doc.FindChild(QStringLiteral("b"))->text(), QStringLiteral("1"));
    EXPECT_EQ(doc.children().size(), 2u);
}

TEST(XmlReader, EmptyOrUnreadableInputLeavesANamelessRoot)
{
    TzekXMLParser2 doc;
    doc.SetName(QStringLiteral("dataroot"));
    EXPECT_FALSE(doc.ParseText(QString()).isEmpty());
    EXPECT_EQ(doc.name(), QString());
    EXPECT_TRUE(doc.ToText().endsWith(QLatin1String("\r\n</>")));
}

} // namespace
