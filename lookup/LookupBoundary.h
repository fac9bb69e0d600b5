// The seam between the two halves of the ISBN lookup.  The cpprest half is
// compiled as plain C++ and may not call Win32; the Win32 half may not see
// cpprest.  Only plain types cross: no windows.h and no wchar_t here.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// The book form's window handle, carried through the cpprest half unread.
using LookupFormHandle = std::uintptr_t;

enum class LookupFailure {
    Request,  // the response could not be turned into an answer
    Answer,   // no answer arrived, or it could not be written into the form
};

// --- Implemented by the Win32 half; called from the lookup's continuations.

// Writes UTF-16 text into one edit box of the form.  A form that is gone
// takes no write.
void WriteFormBox(LookupFormHandle form, int boxId, const std::u16string& text) noexcept;
// The text of one edit box of the form; empty for a form that is gone.
std::u16string ReadFormBox(LookupFormHandle form, int boxId) noexcept;
// Shows the failure's message, owned by the form, unless the form is gone.
void ShowLookupFailure(LookupFormHandle form, LookupFailure failure) noexcept;

// --- Implemented by the cpprest half.

// Sends the lookup of one ISBN and returns at once: to the book-volume web
// service, and when the text is an ISBN to the National Diet Library as
// well.  The answers reach the form later, from the lookup workers.
void StartVolumeLookup(LookupFormHandle form, const std::u16string& isbn) noexcept;
// How many lookups have run their course (every answer written, the
// failure shown if there was one to show); lets a caller wait for the
// lookups it started.
unsigned long FinishedVolumeLookups() noexcept;

// The task scheduler of the lookups: its work waits in a queue until a
// worker thread of the Win32 half takes it.
void InstallLookupScheduler();  // once per process; later calls do nothing
void OpenLookupQueue();         // accept work
void CloseLookupQueue();        // drop waiting and later work, wake every runner
void RunLookupQueue();          // run work on this thread until the queue closes
// Runs work on a lookup worker once the delay has passed, unless the queue
// closes first; for the cpprest half's own use.
void RunLookupLater(std::chrono::milliseconds delay, std::function<void()> work);
