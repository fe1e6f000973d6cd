#include "shared/input_check.h"

#include "data/text_rules.h"
#include "shared/keys.h"

#include <QKeyEvent>

namespace tomarina {

std::optional<KeyAscii> enter_key(const QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl && event->key() == Qt::Key_J) return KeyAscii::line_feed;
    if (is_enter(event->key()))
        return ctrl ? KeyAscii::line_feed : KeyAscii::carriage_return;
    return std::nullopt;
}

QValidator::State InputForm::validate(QString& input, int&) const {
    QString kept = input_form(input);
    if (kept != input) input = std::move(kept);
    return Acceptable;
}

} // namespace tomarina
