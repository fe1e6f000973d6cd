#include "tools/tools_menu_window.h"

#include "tools/about_window.h"
#include "tools/settings_window.h"

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
    Command1 = button("Command1", QStringLiteral("動作環境の登録"), 120, 1575);
    Command3 = button("Command3", QStringLiteral("システム情報"), 1800, 1575);
    Command4 = button("Command4", QStringLiteral("終了"), 3480, 735);
    setFixedSize(twips_to_px(4335), twips_to_px(615));

    connect(Command1, &QPushButton::clicked, this, &ToolsMenuWindow::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &ToolsMenuWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &ToolsMenuWindow::Command4_Click);
    watch_esc();
}

void ToolsMenuWindow::Command1_Click() {
    forms_.show<SettingsWindow>();
}

void ToolsMenuWindow::Command3_Click() {
    forms_.show<AboutWindow>();
}

void ToolsMenuWindow::Command4_Click() {
    close_window();
}

} // namespace tomarina
