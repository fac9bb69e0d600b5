// The threads that run the lookups' continuations.  WinMain starts them
// before its message loop and stops them before it returns.
#pragma once

// Installs the lookups' task scheduler (once) and starts its workers.
void StartLookupWorkers();
// Stops the workers and waits for them, a bounded time: message boxes they
// still show are closed, and later work is dropped.  Call on the
// user-interface thread once its message loop has ended.
void StopLookupWorkers();
