#pragma once
// The program's start: splash, title, windows, message loop. Returns the exit code.
int run_tolvane(int argc, char** argv);
