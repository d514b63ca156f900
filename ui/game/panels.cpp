// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels.h"

#include "ui/common/text_panel.h"

namespace pairly {

Panels::Panels(TextPanel* Text1, TextPanel* Text2, TextPanel* Text3)
    : Text1_(Text1), Text2_(Text2), Text3_(Text3)
{
}

void Panels::italiano_Click()
{
    Text3_->hide();
    if (Text1_->isHidden()) {
        Text1_->show();
        Text2_->hide();
    } else {
        Text1_->hide();
    }
}

void Panels::inglese_Click()
{
    Text3_->hide();
    if (Text2_->isHidden()) {
        Text2_->show();
        Text1_->hide();
    } else {
        Text2_->hide();
    }
}

void Panels::menu_about_Click()
{
    Text1_->hide();
    Text2_->hide();
    Text3_->setVisible(Text3_->isHidden());
}

void Panels::Text1_Click()
{
    Text1_->hide();
}

void Panels::Text2_Click()
{
    Text2_->hide();
}

void Panels::Text3_Click()
{
    Text3_->hide();
}

void Panels::hideAll()
{
    Text1_->hide();
    Text2_->hide();
    Text3_->hide();
}

}  // namespace pairly
