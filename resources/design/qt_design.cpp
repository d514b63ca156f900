// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_design.h"

namespace pairly {

QColor toQColor(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont toQFont(const FontDesign& font)
{
    const bool msSansSerif = font.face.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0;
    QFont qfont(msSansSerif ? QStringLiteral("Sans Serif") : font.face);
    qfont.setStyleHint(QFont::SansSerif);
    qfont.setPointSizeF(font.points);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    return qfont;
}

}  // namespace pairly
