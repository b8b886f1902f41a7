#include "app/look_palettes.h"

#include "app/application_look.h"

namespace {

struct ColourScheme {
    const char* window;  // body of windows and dialogs
    const char* button;
    const char* highlight;
    const char* barTop;  // gradient of menu bar, toolbar, status bar, pane caption
    const char* barBottom;
    const char* barText;
    const char* hover;  // menu and toolbar item under the pointer
};

ColourScheme SchemeOf(int colourLook) {
    switch (colourLook) {
        case LookId::kBlack:
            return {"#d8d8d8", "#e2e2e2", "#5a5a5a", "#5c5c5c", "#1f1f1f", "#ffffff", "#f2c867"};
        case LookId::kSilver:
            return {"#e9ecf1", "#eef0f4", "#8096b4", "#f6f7f9", "#cbd2dc", "#2c3a4f", "#fde7a6"};
        case LookId::kAqua:
            return {"#e2f2f1", "#e8f5f4", "#2f9a90", "#e8f8f6", "#a5d8d1", "#1b4d48", "#fde7a6"};
        default:  // blue
            return {"#dde8f6", "#e6eefa", "#3a78c3", "#e5f0ff", "#b9d3f1", "#15428b", "#fde7a6"};
    }
}

}  // namespace

QPalette ColourLookPalette(int colourLook) {
    const ColourScheme scheme = SchemeOf(colourLook);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(scheme.window));
    palette.setColor(QPalette::Button, QColor(scheme.button));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(scheme.window).lighter(105));
    palette.setColor(QPalette::Highlight, QColor(scheme.highlight));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    const QColor grey(128, 128, 128);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, grey);
    palette.setColor(QPalette::ToolTipBase, QColor("#ffffe1"));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    return palette;
}

QString ColourLookStyleSheet(int colourLook) {
    const ColourScheme s = SchemeOf(colourLook);
    const QString bar =
        QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
            .arg(QLatin1String(s.barTop), QLatin1String(s.barBottom));
    return QStringLiteral(
               "QMenuBar { background: %1; color: %2; }"
               "QMenuBar::item { background: transparent; padding: 3px 8px; }"
               "QMenuBar::item:selected { background: %3; color: black; border-radius: 2px; }"
               "QToolBar { background: %1; border: none; spacing: 2px; padding: 2px; }"
               "QToolBar QToolButton:hover { background: %3; border-radius: 2px; }"
               "QStatusBar { background: %1; color: %2; }"
               "QStatusBar QLabel { color: %2; }"
               "QDockWidget { color: %2; }"
               "QDockWidget::title { background: %1; padding: 4px; }"
               "QMainWindow::separator { background: %4; width: 4px; height: 4px; }")
        .arg(bar, QLatin1String(s.barText), QLatin1String(s.hover), QLatin1String(s.barBottom));
}
