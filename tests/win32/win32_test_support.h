// Helpers shared by the Win32 test programs: paths beside the test program, waiting for conditions
// while this thread's messages keep flowing, child processes, plain windows and queue inspection.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

const DWORD kWaitMilliseconds = 20000;   // generous: a cold Wine start can take seconds

// A file in the folder of the running test program (where skyfold.scr and the doubles are built).
std::string besideTestProgram(const char* fileName);

// Pumps this thread's messages until the condition holds or the time is up; returns the condition.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds = kWaitMilliseconds);

// A top-level window of the given class owned by the process, or null.
HWND findProcessWindow(DWORD processId, const char* className);

// A window of this thread with the given client size; hidden windows can never be the foreground.
HWND createPlainWindow(int clientWidth, int clientHeight, bool visible);

// Window handles as the command line writes them (unsigned decimal of the 32-bit value).
unsigned long handleNumber(HWND window);

// True when a message of this kind for the window is waiting in this thread's queue.
bool isMessagePending(HWND window, UINT message);

// Removes every such message; returns how many there were.
int discardMessages(HWND window, UINT message);

// A program started with CreateProcessA; ended by force if still running at destruction.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::string& commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return info_.hProcess != NULL; }
    DWORD id() const { return info_.dwProcessId; }
    bool isRunning() const;
    // The full 32-bit exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD waitForExit(DWORD timeoutMilliseconds = kWaitMilliseconds);
    // Waits for a top-level window of the given class owned by this process.
    HWND waitForWindow(const char* className);

private:
    PROCESS_INFORMATION info_;
};
