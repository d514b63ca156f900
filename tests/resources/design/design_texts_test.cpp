// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/design/design_texts.h"

#include <gtest/gtest.h>

namespace pairly {
namespace {

TEST(Windows1252, DecodesItsOwnLettersWhereLatin1HasControls)
{
    EXPECT_EQ(fromWindows1252("\x80\x93\x94\x9F"), QStringLiteral("\u20AC\u201C\u201D\u0178"));
    EXPECT_EQ(fromWindows1252("\x81\x8D\x8F\x90\x9D"), QString(5, QChar(0xFFFD)));
    EXPECT_EQ(fromWindows1252("\xA0\xE8\xF9\xFF"), QStringLiteral("\u00A0\u00E8\u00F9\u00FF"));
    EXPECT_EQ(fromWindows1252(QByteArrayView("a\0b", 3)), QString::fromUtf16(u"a\0b", 3));
}

}  // namespace
}  // namespace pairly
