#pragma once

class QApplication;

namespace tomarina {

class Forms;

// The Japanese fonts the windows name, mapped to the installed metric twins.
void install_fonts();

// Tells the windows which class each FormKind is.
void provide_windows(Forms& forms);

// The program's entry: the splash, the main menu's load, then the main menu. Returns false when the
// main menu could not be loaded.
bool start_program(Forms& forms);

} // namespace tomarina
