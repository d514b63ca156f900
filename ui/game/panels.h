// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pairly {

class TextPanel;

// The three text panels over the table: Italian rules (Text1), English rules
// (Text2) and the information text (Text3). At most one is visible; every
// command that shows one hides the other two.
class Panels {
public:
    Panels(TextPanel* Text1, TextPanel* Text2, TextPanel* Text3);

    void italiano_Click();
    void inglese_Click();
    void menu_about_Click();
    // A click inside a shown panel hides it.
    void Text1_Click();
    void Text2_Click();
    void Text3_Click();

    // Text1, Text2, Text3, in this order: a card click or a size command.
    void hideAll();

private:
    TextPanel* Text1_;
    TextPanel* Text2_;
    TextPanel* Text3_;
};

}  // namespace pairly
