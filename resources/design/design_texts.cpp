// SPDX-License-Identifier: GPL-3.0-or-later
#include "design_texts.h"

#include <array>

namespace pairly {

namespace {

constexpr char kItalianRules[] =
    "Lumora Pairly \xE8" " uno dei pi\xF9" " noti e diffusi fra i \"giochi per famiglie\", "
    "dato che \xE8" " un ottimo esercizio per una gara fra piccoli e adulti. La versione "
    "Quernavellistro propone tre opzioni selezionabili da men\xF9" ": la prima impiega 80 "
    "cartine quadrate, ciascuna con una figura disegnata su una faccia, cio\xE8" " 40 coppie "
    "di figure, la seconda impiega 48 cartine, cio\xE8" " 24 coppie di figure, la terza 20 "
    "cartine, cio\xE8" " dieci coppie di figure. Le figure possono essere fiori, animali, "
    "disegni geometrici ed altro. \r\n"
    "Le carte sono disposte coperte sul tavolo. Il giocatore ne scopre due e, se trova una "
    "coppia di carte uguali, queste rimangono scoperte. Se le carte scoperte non sono uguali "
    "vengono ricoperte.Nelle prime mosse si va \"a tentoni\", ma poi occorre ricordare le "
    "carte uscite e la posizione in cui si trovano.\r\n";

constexpr char kEnglishRules[] =
    "Lumora Pairly is one fo the most diffuse \"family play\", since it is an exellent "
    "exercise for a children and adult competition. \r\n"
    "Quernavellistro version of the game suggests three menu selectable options: the first "
    "one uses 80 square cards, every with a picture on a side, i.e. 40 couples of \r\n"
    "pictures, the second one uses 48 cards, i.e. 24 couples of pictures, the third one uses "
    "20 cards, i.e. 10 couples of pictures. The pictures can be flowers, animals, \r\n"
    "geometric drawings and so on. \r\n"
    "The cards are displayed covered on the table. \r\n"
    "The player uncovers two cards. If he finds a couple of them, it will stay uncovered  If "
    "the uncovered cards are not equals it will be covered again.\r\n"
    "The first moves are \"gropingly moves\", but then you must remember the sorted cards "
    "and their positions.\r\n";

constexpr char kVersion[] =
    "                Pairly ver. 2.2                 \r\n";

// The letters Windows-1252 places where Latin-1 has control codes; 0 marks
// the five unassigned bytes, which decode to U+FFFD.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QByteArrayView withoutTerminator(const char* text, qsizetype size)
{
    return QByteArrayView(text, size - 1);
}

}  // namespace

QByteArrayView italianRulesText()
{
    return withoutTerminator(kItalianRules, sizeof kItalianRules);
}

QByteArrayView englishRulesText()
{
    return withoutTerminator(kEnglishRules, sizeof kEnglishRules);
}

QByteArrayView versionText()
{
    return withoutTerminator(kVersion, sizeof kVersion);
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x80 && code < 0xA0) {
            const char16_t mapped = kHighControls[code - 0x80];
            text.append(QChar(mapped != 0 ? mapped : char16_t{0xFFFD}));
        } else {
            text.append(QChar(char16_t{code}));
        }
    }
    return text;
}

}  // namespace pairly
