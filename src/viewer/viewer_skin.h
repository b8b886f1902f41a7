#pragma once
// The pictures of the viewer's nine buttons and of its close icon, drawn
// at run time. UI thread only (QPixmap).

#include <QPixmap>
#include <QString>
#include <vector>

namespace ViewerButtonId {
constexpr int kZoomIn = 1021;
constexpr int kZoomOut = 1004;
constexpr int kNatural = 1005;
constexpr int kPrevious = 1006;
constexpr int kNext = 1009;
constexpr int kTurnLeft = 1008;
constexpr int kTurnRight = 1012;
constexpr int kDelete = 1011;
constexpr int kMore = 1017;
}  // namespace ViewerButtonId

struct ViewerButtonPlace {
    int id;             // the button's control id
    const char* label;  // tooltip text
    int leftOffset;     // left edge relative to the client's centre
    int width;
};

// The nine buttons from left to right.
const std::vector<ViewerButtonPlace>& ViewerButtons();
inline constexpr int kViewerButtonHeight = 38;

// The button's normal picture, and the one for pressed, hovered and disabled.
QPixmap ViewerButtonImage(int id, int width, bool active);
// The 32 x 32 close icon.
QPixmap ViewerCloseIcon();
