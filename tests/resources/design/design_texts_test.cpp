#include "resources/design/design_texts.h"
#include "resources/design/window_designs.h"

#include <gtest/gtest.h>

#include <vector>

namespace pairly {
namespace {

// Splits a stored text into its lines, checking that each ends with CR LF
// and that no bare CR or LF hides inside a line.
std::vector<QByteArray> crlfLines(QByteArrayView text)
{
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(QByteArrayView("\r\n"), start);
        EXPECT_NE(end, -1) << "line without CR LF at byte " << start;
        if (end == -1)
            break;
        const QByteArray line = text.sliced(start, end - start).toByteArray();
        EXPECT_FALSE(line.contains('\r') || line.contains('\n')) << line.constData();
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

struct StoredText {
    const char* name;
    QByteArrayView (*bytes)();
    qsizetype length;
    std::vector<qsizetype> lineLengths;
};

TEST(DesignTexts, LengthsAndLinesAreAsStored)
{
    const StoredText texts[] = {
        {"Italian rules", italianRulesText, 806, {499, 303}},
        {"English rules", englishRulesText, 796, {127, 163, 165, 30, 46, 148, 103}},
        {"version", versionText, 50, {48}},
    };
    for (const StoredText& text : texts) {
        SCOPED_TRACE(text.name);
        EXPECT_EQ(text.bytes().size(), text.length);
        std::vector<qsizetype> lengths;
        for (const QByteArray& line : crlfLines(text.bytes()))
            lengths.push_back(line.size());
        EXPECT_EQ(lengths, text.lineLengths);
        // One character per byte: the decoded text is as long as the stored one.
        EXPECT_EQ(fromWindows1252(text.bytes()).size(), text.length);
    }
}

TEST(DesignTexts, ItalianRulesKeepAccentsQuotesAndMissingSpace)
{
    const QByteArrayView stored = italianRulesText();
    EXPECT_EQ(stored.count(QByteArrayView("\xE8")), 5) << "five è, one byte each";
    EXPECT_EQ(stored.count(QByteArrayView("\xF9")), 2) << "two ù, one byte each";
    const QString text = fromWindows1252(stored);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Lumora Pairly \u00E8 uno dei pi\u00F9 noti e diffusi fra i \"giochi per famiglie\", ")));
    EXPECT_TRUE(text.contains(QStringLiteral("selezionabili da men\u00F9: la prima")));
    EXPECT_TRUE(text.contains(QStringLiteral("vengono ricoperte.Nelle prime mosse si va \"a tentoni\", ma poi")));
    EXPECT_TRUE(text.contains(QStringLiteral("disegni geometrici ed altro. \r\nLe carte")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("la posizione in cui si trovano.\r\n")));
}

TEST(DesignTexts, EnglishRulesKeepTheirSpellingAndSpacing)
{
    const QString text = fromWindows1252(englishRulesText());
    EXPECT_TRUE(text.startsWith(QStringLiteral("Lumora Pairly is one fo the most diffuse \"family play\", since it is an exellent exercise")));
    EXPECT_TRUE(text.contains(QStringLiteral("40 couples of \r\npictures, the second")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\ngeometric drawings and so on. \r\nThe cards are displayed covered on the table. \r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("it will stay uncovered  If the uncovered cards are not equals it will be covered again.\r\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("The first moves are \"gropingly moves\", but then you must remember the sorted cards and their positions.\r\n")));
    for (const QChar c : text)
        EXPECT_LT(c.unicode(), 0x80) << "the English rules are plain ASCII";
}

TEST(DesignTexts, VersionTextIsCentredBySpaces)
{
    EXPECT_EQ(versionText().toByteArray(),
              QByteArray(16, ' ') + "Pairly ver. 2.2" + QByteArray(17, ' ') + "\r\n");
}

TEST(DesignTexts, BoxesHoldTheStoredTexts)
{
    EXPECT_EQ(form1Design().find(u"Text1")->text, fromWindows1252(italianRulesText()));
    EXPECT_EQ(form1Design().find(u"Text2")->text, fromWindows1252(englishRulesText()));
    EXPECT_EQ(form1Design().find(u"Text3")->text, fromWindows1252(versionText()));
    EXPECT_EQ(frmmainDesign().find(u"Text4")->text, fromWindows1252(versionText()));
}

TEST(Windows1252, DecodesItsOwnLettersWhereLatin1HasControls)
{
    EXPECT_EQ(fromWindows1252("\x80\x93\x94\x9F"), QStringLiteral("\u20AC\u201C\u201D\u0178"));
    EXPECT_EQ(fromWindows1252("\x81\x8D\x8F\x90\x9D"), QString(5, QChar(0xFFFD)));
    EXPECT_EQ(fromWindows1252("\xA0\xE8\xF9\xFF"), QStringLiteral("\u00A0\u00E8\u00F9\u00FF"));
    EXPECT_EQ(fromWindows1252(QByteArrayView("a\0b", 3)), QString::fromUtf16(u"a\0b", 3));
}

}  // namespace
}  // namespace pairly
