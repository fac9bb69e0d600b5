// One press of the ISBN button.  The book-volume web service is asked, and
// for an ISBN the National Diet Library's search service as well, at the
// same time.  Each writes its answer as it comes; the last to end decides
// whether the book was found, and only when it was not shows the
// book-volume service's failure, as it would have alone.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "lookup/FormBoxWrite.h"
#include "lookup/LibraryAnswer.h"
#include "lookup/LookupBoundary.h"

class LookupPress {
public:
    LookupPress(LookupFormHandle form, int requests);
    LookupPress(const LookupPress&) = delete;
    LookupPress& operator=(const LookupPress&) = delete;

    // The book-volume service's writes, into whatever the boxes hold.
    void WriteVolume(const std::vector<FormBoxWrite>& writes) noexcept;
    // Its failure, kept for the end.
    void VolumeFailed(LookupFailure failure) noexcept;
    // The Library's writes, each into a box that is empty when it comes.
    void WriteLibrary(const LibraryAnswerWrites& mapped) noexcept;
    // One request has run its course; the last one shows what is to be shown.
    void RequestEnded() noexcept;

private:
    const LookupFormHandle form_;
    // One service writes at a time, so that the Library's look at a box
    // sees what the other has written into it.
    std::mutex writing_;
    std::mutex state_;  // guards the rest
    int running_;
    bool requestFailed_ = false;  // LookupFailure::Request
    bool answerFailed_ = false;   // LookupFailure::Answer
    bool libraryTitled_ = false;
};

// The two requests of a press.  Neither throws: a request that cannot be
// made ends at once, as a failed one would.
void AskVolumeService(const std::shared_ptr<LookupPress>& press, const std::u16string& isbn) noexcept;
void AskLibrary(const std::shared_ptr<LookupPress>& press, const std::string& isbn) noexcept;
