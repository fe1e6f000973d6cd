#include "tools/tools_menu_window.h"

#include "tools/about_window.h"
#include "tools/settings_window.h"
#include "tools/tools_texts.h"

#include <QPushButton>

namespace tomarina {

ToolsMenuWindow::ToolsMenuWindow(Forms& forms)
    : Form(forms, stored_names::tools_menu, QStringLiteral("tools_menu_window")) {
    auto button = [this](const char* name, const QString& caption, int left, int width) {
        auto* b = add_control<QPushButton>(this, name, left, 120, width, 375);
        b->setText(caption);
        b->setAutoDefault(true);
        return b;
    };
    settings_button = button("settings_button", tools_texts::settings_caption, 120, 1575);
    about_button = button("about_button", tools_texts::about_caption, 1800, 1575);
    close_button = button("close_button", tools_texts::close_caption, 3480, 735);
    setFixedSize(twips_to_px(4335), twips_to_px(615));

    connect(settings_button, &QPushButton::clicked, this, &ToolsMenuWindow::open_settings);
    connect(about_button, &QPushButton::clicked, this, &ToolsMenuWindow::open_about);
    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });
    watch_esc();
}

void ToolsMenuWindow::open_settings() {
    forms_.show<SettingsWindow>();
}

void ToolsMenuWindow::open_about() {
    forms_.show<AboutWindow>();
}

} // namespace tomarina
