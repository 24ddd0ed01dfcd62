#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QColor>
#include <QPalette>

// Host colour values: 0x00BBGGRR for a plain colour, 0x80000000 plus a system colour
// index for a system colour, which comes from the widget's palette.
namespace SystemColours {

constexpr quint32 WindowFrame = 0x80000006;
constexpr quint32 ButtonFace = 0x8000000F;
constexpr quint32 ButtonShadow = 0x80000010;
constexpr quint32 GrayText = 0x80000011;
constexpr quint32 ButtonText = 0x80000012;
constexpr quint32 Highlight3D = 0x80000014;

// An invalid colour for a system index the palette has no counterpart for.
[[nodiscard]] PAGOLINE_EXPORT QColor TranslateColour(quint32 hostColour, const QPalette &palette);

} // namespace SystemColours
