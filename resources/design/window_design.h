// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace pairly {

// Index of a control or menu item that is not an element of an array.
inline constexpr int kNoIndex = -1;

// Designs are measured in twips; windows lay out in logical pixels.
inline constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel; a fifteenth never falls on a half.
int twipsToPixels(int twips);

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kLightYellow{255, 255, 192};
inline constexpr Rgb kDarkGreen{0, 64, 0};
inline constexpr Rgb kBlue{0, 0, 255};

// Face name as designed ("MS Sans Serif"), Western character set.
struct FontDesign {
    QString face{};
    double points = 0;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const FontDesign&, const FontDesign&) = default;
};

enum class ControlKind { Image, Label, TextBox, Timer, MediaControl };

enum class TextAlignment { Left, Centre };

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    QRect toPixels() const;
    friend constexpr bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// Which stored picture an image control carries in the design.
struct PictureDesign {
    enum class Source { None, Face, CardBack };
    Source source = Source::None;
    // Face: picture number 1..40. CardBack: the table size 20, 48 or 80.
    int number = 0;

    friend constexpr bool operator==(const PictureDesign&, const PictureDesign&) = default;
};

struct ControlDesign {
    QString name{};
    int index = kNoIndex;
    ControlKind kind = ControlKind::Image;
    // The timer has no place on the window.
    std::optional<TwipsRect> rect{};
    bool visible = true;
    // kNoIndex for controls that have no tab position (images, the timer).
    int tabIndex = kNoIndex;
    bool tabStop = true;
    QString text{};
    // No foreground: the toolkit's window text colour. No background on a
    // text box: the toolkit's window colour.
    std::optional<Rgb> foreground{};
    std::optional<Rgb> background{};
    bool transparent = false;
    // No font: the toolkit's default font.
    std::optional<FontDesign> font{};
    TextAlignment alignment = TextAlignment::Left;
    bool multiLine = false;
    bool readOnly = false;
    // The pointer over the control is the standard arrow, not the text beam.
    bool arrowPointer = false;
    bool stretch = false;
    PictureDesign picture{};
    int intervalMs = 0;
    bool enabled = true;
    QString deviceType{};

    bool isArrayElement() const { return index != kNoIndex; }
    // An empty rectangle for the timer.
    QRect pixelRect() const;
};

struct MenuItemDesign {
    QString name{};
    int index = kNoIndex;
    QString caption{};
    bool checked = false;
};

struct MenuTitleDesign {
    QString name{};
    QString caption{};
    // The program keeps state in the check marks of this title's items.
    bool checkMarks = false;
    // Empty: the title itself is the command and opens no drop-down.
    std::vector<MenuItemDesign> items{};
};

struct WindowDesign {
    QString name{};
    QString title{};
    Rgb background{};
    std::optional<Rgb> foreground{};
    // No font: the toolkit's default font.
    std::optional<FontDesign> font{};
    // Inner (client) area: its size and the screen position of its top-left
    // corner when the window was designed.
    TwipsRect innerArea{};
    // True: the window opens where it was designed; false: the window
    // system places it.
    bool opensAtDesignedPosition = false;
    // In design order; arrays element by element.
    std::vector<ControlDesign> controls{};
    // Left to right; empty when the window has no menu bar.
    std::vector<MenuTitleDesign> menu{};

    const ControlDesign* find(QStringView controlName, int index = kNoIndex) const;
    // Elements of one control array, in design order.
    std::vector<const ControlDesign*> array(QStringView controlName) const;
    QSize innerPixelSize() const;
};

}  // namespace pairly
