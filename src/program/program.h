#pragma once

class QApplication;
class QObject;

namespace tomarina {

class Forms;

// The Japanese fonts the windows name, mapped to the installed metric twins.
void install_fonts();

// The name the desktop knows the program's windows by: its window class (WM_CLASS on X11) and desktop
// file name (the app id on Wayland) are those of the menu entry, so docks show them as its windows.
void set_desktop_identity();

// Tells the windows which class each FormKind is.
void provide_windows(Forms& forms);

// The program's entry: the splash, the main menu's load, then the main menu. Returns false when the
// main menu could not be loaded. An end asked for during the load is carried out as the load returns,
// before the main menu shows.
bool start_program(Forms& forms);

// SIGTERM, SIGINT and SIGHUP run the main menu's end step, or quit when there is none; for as long as
// context lives. A signal during a nested loop ends the program once the loop has returned.
void end_on_signals(QObject* context, Forms& forms);

} // namespace tomarina
