#pragma once
// The program's start-up as its entry runs it: the application's title, help file and icon, the
// main window and the hidden about box, the message loop until the main window closes, then
// the help viewer closed.

class TApplication;

// Runs the program on `application` and returns the process's exit code. Work queued on the
// application before the call runs once the loop has shown the main window.
int RunProgram(TApplication& application);
