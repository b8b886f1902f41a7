#pragma once
// Sizes shared by the upkeep dialogs, in pixels.

#include <QPushButton>
#include <QRect>

namespace upkeep_layout {

inline constexpr int kWidth = 320;
inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 23;

// The text line below the title band.
inline QRect TextLine() {
    return {20, 40, kWidth - 40, 16};
}

// A button in the bottom band, centred at (third / 3) of the width.
inline void PlaceButton(QPushButton* button, int thirds, int height) {
    button->setGeometry(kWidth * thirds / 3 - kButtonWidth / 2, height - 24, kButtonWidth,
                        kButtonHeight);
}

}  // namespace upkeep_layout
