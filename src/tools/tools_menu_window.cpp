#include "tools/tools_menu_window.h"

#include "tools/about_window.h"
#include "tools/settings_window.h"

#include <QPushButton>

namespace tomarina {

tomarina31::tomarina31(Forms& forms) : Form(forms, 31, QStringLiteral("tomarina31")) {
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

    connect(Command1, &QPushButton::clicked, this, &tomarina31::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &tomarina31::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &tomarina31::Command4_Click);
    watch_esc();
}

void tomarina31::Command1_Click() {
    forms_.show<tomarina32>();
}

void tomarina31::Command3_Click() {
    forms_.show<tomarina34>();
}

void tomarina31::Command4_Click() {
    end_proc();
}

} // namespace tomarina
