// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pairly {

// Makes every CaptionLabel a button for assistive technologies: named by its
// caption, focused while it has the keyboard attention, pressed through their
// "press" action as by a click. Installing it again changes nothing.
void installCaptionLabelAccessibility();

}  // namespace pairly
