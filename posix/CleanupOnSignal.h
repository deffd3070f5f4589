#pragma once

#include <signal.h>
#include <termios.h>

#include <array>

// What a fatal signal must undo before the process dies of it: a temporary
// file being written (removed) and a terminal with echo switched off
// (restored). One slot of each, for the one write and the one prompt a
// process has going at a time. Setting and clearing a slot is safe while a
// signal may arrive; the handlers only read it.

// The signals that end the process and are undone first: those a user or a
// system sends to end a program (Ctrl-C, Ctrl-\, kill, a closed terminal).
inline constexpr std::array kFatalSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Installs the handlers for kFatalSignals (undo, then die of
// the same signal) and for SIGTSTP/SIGCONT (restore the terminal while
// stopped, switch echo off again on return). For a process that owns its
// terminal and its signals, such as the command-line tool.
void InstallCleanupHandlers();

// The temporary file to remove if a signal ends the process; nullptr forgets it.
void SetTemporaryToRemove(const char* path);

// The terminal settings to restore on a signal (`saved`) and to set again
// after a stop (`active`); ForgetTerminal() once they are restored.
void SetTerminalToRestore(int fd, const termios& saved, const termios& active);
void ForgetTerminal();
