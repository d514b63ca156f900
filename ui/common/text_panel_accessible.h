// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pairly {

// Makes every TextPanel a read-only text for assistive technologies whose
// text is a single line: a screen reader that reads the line at the caret
// when the panel gets the focus reads the whole text, as the player has no
// caret to move line by line (the arrow keys belong to the game). Installing
// it again changes nothing.
void installTextPanelAccessibility();

}  // namespace pairly
