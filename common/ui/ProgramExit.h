#pragma once

// How a window program ends once its main window has closed. The window is destroyed first, so
// its pages finish as always (attachments that were never saved are given up and their rows
// removed). Objects whose teardown would only hold up the end, such as a media pipeline that
// waits for itself to pause, may be left running while the window goes; the program then closes
// the database (every write is a committed transaction) and lets go of the records lock, and
// ends without tearing down what was left.
namespace ProgramExit {

// From the close of the main window on, the program is ending.
void begin();
bool isEnding();

// Notes that an object was left running rather than torn down.
void leftRunning();
bool hasLeftRunning();

// After the main window has been destroyed: ends the process at once when something was left
// running, with the database closed and the records lock released; otherwise returns, and the
// program ends the ordinary way.
void finish();

// Back to a program that is not ending (for tests).
void reset();

} // namespace ProgramExit
