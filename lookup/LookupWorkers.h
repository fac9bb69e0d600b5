// The threads that run the lookups' continuations.  WinMain starts them
// before its message loop and stops them before it returns.
#pragma once
#include <windows.h>

// Shows one failure of a lookup: an error box with the message, owned by
// the book form.  The program hands in its one error box helper.
using LookupFailureBox = void (*)(HWND form, const char* message);

// Installs the lookups' task scheduler (once) and starts its workers; the
// lookups' failures are shown through showFailure.  Nothing is sent before
// this has run: the book form's lookup button needs it.
void StartLookupWorkers(LookupFailureBox showFailure);
// Stops the workers and waits for them, a bounded time: message boxes they
// still show are closed, and later work is dropped.  Call on the
// user-interface thread once its message loop has ended.
void StopLookupWorkers();
