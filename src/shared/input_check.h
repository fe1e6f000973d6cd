#pragma once

#include <QValidator>
#include <optional>

class QKeyEvent;

namespace tomarina {

// The character a text box's KeyPress handler is given for Enter: a carriage return, or a line feed
// with Ctrl.
enum class KeyAscii { line_feed = 10, carriage_return = 13 };
// The Enter character a key press stands for (Enter, Return, Ctrl+J); nothing for any other key.
std::optional<KeyAscii> enter_key(const QKeyEvent* event);

// Every text box keeps what is typed or pasted in the one input form, so the same keys give the same
// text in every window.
class InputForm : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override;
};

} // namespace tomarina
