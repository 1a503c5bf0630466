// The glyphs of the category and mark boxes: a green square when the picture is not in
// the category, red when it is, grey when undecided (empty), each in a normal, darker
// (pressed) and paler (under the mouse, or disabled) variant. 17 × 17 pixels.
#pragma once

#include <QPixmap>

enum class CheckGlyphState { Unchecked, Checked, Undecided };
enum class CheckGlyphLook { Normal, Darker, Paler };

inline constexpr int checkGlyphSize = 17;

QPixmap checkGlyph(CheckGlyphState state, CheckGlyphLook look);
