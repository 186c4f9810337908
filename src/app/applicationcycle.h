#pragma once

#include <functional>

// The exit code with which a cycle asks for a new one (the language was changed).
constexpr int RestartExitCode = 1000;

// Runs cycles while one ends with RestartExitCode; returns the last cycle's code.
int runApplicationCycles(const std::function<int()> &cycle);

// One cycle of the program: application object, translations, services and main window, event loop.
int runOneCycle(int argc, char **argv);
