// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/design/design_texts.h"
#include "resources/design/window_designs.h"

#include <QList>

#include <gtest/gtest.h>

#include <vector>

namespace pairly {
namespace {

// The length of each line of a stored text, checking that every line ends
// with CR LF and that no bare CR or LF hides inside one.
std::vector<qsizetype> crlfLineLengths(QByteArrayView text)
{
    QList<QByteArray> lines = text.toByteArray().split('\n');
    EXPECT_TRUE(lines.takeLast().isEmpty()) << "the text ends with CR LF";
    std::vector<qsizetype> lengths;
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r') && line.count('\r') == 1) << line.constData();
        lengths.push_back(line.size() - 1);
    }
    return lengths;
}

TEST(DesignTexts, LengthsAndLinesAreAsStored)
{
    const std::tuple<QByteArrayView, qsizetype, std::vector<qsizetype>> texts[] = {
        {italianRulesText(), 806, {499, 303}},
        {englishRulesText(), 796, {127, 163, 165, 30, 46, 148, 103}},
        {versionText(), 50, {48}},
    };
    for (const auto& [bytes, length, lines] : texts) {
        EXPECT_EQ(bytes.size(), length);
        EXPECT_EQ(crlfLineLengths(bytes), lines) << "text of " << length << " bytes";
        EXPECT_EQ(fromWindows1252(bytes).size(), length) << "one character per byte";
    }
    EXPECT_EQ(versionText().toByteArray(), QByteArray(16, ' ') + "Pairly ver. 2.2" + QByteArray(17, ' ') + "\r\n");
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
