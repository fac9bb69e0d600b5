#include "lookup/LookupPress.h"

#include <atomic>
#include <optional>
#include <cpprest/asyncrt_utils.h>

#include "store/Isbn.h"

namespace {

// Counted for callers that wait for their lookups to end; private to this
// file, bumped from the workers.
std::atomic<unsigned long> s_finishedLookups{0};

// The ISBN's own characters, when the typed text is one.
std::optional<std::string> TypedIsbn(const std::u16string& typed)
{
    try {
        return IsbnCharacters(utility::conversions::utf16_to_utf8(::utf16string(typed.begin(), typed.end())));
    } catch (...) {
        return std::nullopt;  // not UTF-16, so no ISBN
    }
}

}  // namespace

LookupPress::LookupPress(LookupFormHandle form, int requests) : form_(form), running_(requests) {}

void LookupPress::WriteVolume(const std::vector<FormBoxWrite>& writes) noexcept
{
    std::lock_guard<std::mutex> lock(writing_);
    for (const FormBoxWrite& write : writes) WriteFormBox(form_, write.boxId, write.text);
}

void LookupPress::VolumeFailed(LookupFailure failure) noexcept
{
    std::lock_guard<std::mutex> lock(state_);
    (failure == LookupFailure::Request ? requestFailed_ : answerFailed_) = true;
}

void LookupPress::WriteLibrary(const LibraryAnswerWrites& mapped) noexcept
{
    {
        std::lock_guard<std::mutex> lock(writing_);
        // What the user typed, or the other service wrote, stays.
        for (const FormBoxWrite& write : mapped.writes)
            if (LibraryMayFill(write.boxId, ReadFormBox(form_, write.boxId)))
                WriteFormBox(form_, write.boxId, write.text);
    }
    std::lock_guard<std::mutex> lock(state_);
    libraryTitled_ = mapped.titled;
}

void LookupPress::RequestEnded() noexcept
{
    bool showRequest = false, showAnswer = false;
    {
        std::lock_guard<std::mutex> lock(state_);
        if (--running_ > 0) return;
        // A book the Library named was found, whatever the other said.
        showRequest = requestFailed_ && !libraryTitled_;
        showAnswer = answerFailed_ && !libraryTitled_;
    }
    if (showRequest) ShowLookupFailure(form_, LookupFailure::Request);
    if (showAnswer) ShowLookupFailure(form_, LookupFailure::Answer);
    ++s_finishedLookups;
}

void StartVolumeLookup(LookupFormHandle form, const std::u16string& isbn) noexcept
{
    try {
        const std::optional<std::string> asIsbn = TypedIsbn(isbn);
        auto press = std::make_shared<LookupPress>(form, asIsbn ? 2 : 1);
        AskVolumeService(press, isbn);
        if (asIsbn) AskLibrary(press, *asIsbn);
    } catch (...) {
        // Out of memory before anything was sent.
        ShowLookupFailure(form, LookupFailure::Answer);
        ++s_finishedLookups;
    }
}

unsigned long FinishedVolumeLookups() noexcept
{
    return s_finishedLookups.load();
}
