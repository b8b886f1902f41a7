#pragma once
// The program's looks, chosen by the commands 205 to 219 and persisted as
// "ApplicationLook". Four named colour looks (blue, black, silver, aqua)
// are Qt palettes with style sheets for the frame's bars; the other ids use
// built-in Qt styles.
//
// UI thread only: applying a look changes the application's style.

#include <QString>
#include <vector>

namespace LookId {
inline constexpr int kFirst = 205;
inline constexpr int kLast = 219;
inline constexpr int kBlue = 215;
inline constexpr int kBlack = 216;
inline constexpr int kSilver = 217;
inline constexpr int kAqua = 218;
inline constexpr int kWindows7 = 219;
inline constexpr int kDefault = kBlue;
}  // namespace LookId

struct LookMenuItem {
    int id;
    const char* text;
};

// The four colour looks of the "程序外观" submenu, in menu order.
const std::vector<LookMenuItem>& LookMenuItems();

class ApplicationLook {
  public:
    // What a look id stands for: the Qt style and, for the colour looks, the
    // colour look id (kBlue..kAqua) or 0.
    struct Resolved {
        QString styleName;
        int colourLook;
    };

    // Any id outside the table falls back to the colour look last applied
    // (blue at first).
    Resolved Resolve(int id) const;

    // Installs the look on the application.
    void Apply(int id);

  private:
    int lastColourLook_ = LookId::kBlue;
};
