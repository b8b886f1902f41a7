#pragma once
// Palettes and bar style sheets of the four colour looks.

#include <QPalette>
#include <QString>

QPalette ColourLookPalette(int colourLook);
QString ColourLookStyleSheet(int colourLook);
