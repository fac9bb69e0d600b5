// The request of a lookup and the two continuations that carry its answer
// into the book form.  The continuations run on the lookup workers (see
// LookupScheduler.cpp) and hold nothing but the form's handle.
#include <atomic>
#include <cpprest/http_client.h>

#include "lookup/LookupBoundary.h"
#include "lookup/LookupUri.h"
#include "lookup/VolumeAnswer.h"

namespace {

// Counted for callers that wait for their lookups to end; private to this
// file, bumped from the workers.
std::atomic<unsigned long> s_finishedLookups{0};

// Status 200 has an answer to read, as JSON (the content type must say so);
// any other status passes on a null answer, which the mapping refuses.
pplx::task<web::json::value> AnswerOfResponse(LookupFormHandle form, web::http::http_response response)
{
    try {
        if (response.status_code() == web::http::status_codes::OK) return response.extract_json();
        return pplx::task_from_result(web::json::value());
    } catch (...) {
        ShowLookupFailure(form, LookupFailure::Request);
        return pplx::task_from_result(web::json::value());
    }
}

// Every failure of the chain ends here, in one message; the boxes written
// before it keep their new text.
void WriteAnswer(LookupFormHandle form, const pplx::task<web::json::value>& answer)
{
    try {
        VolumeAnswerWrites mapped = MapVolumeAnswer(answer.get());
        for (const FormBoxWrite& write : mapped.writes) WriteFormBox(form, write.boxId, write.text);
        if (mapped.failed) ShowLookupFailure(form, LookupFailure::Answer);
    } catch (...) {
        ShowLookupFailure(form, LookupFailure::Answer);
    }
    ++s_finishedLookups;
}

}  // namespace

void StartVolumeLookup(LookupFormHandle form, const std::u16string& isbn) noexcept
{
    try {
        // The request in flight keeps alive what it needs of the client.
        web::http::client::http_client client(LookupUri(isbn));
        client.request(web::http::methods::GET)
            // The response: its status decides whether there is an answer.
            .then([form](web::http::http_response response) { return AnswerOfResponse(form, response); })
            // The answer: into the form, or one message; nothing is left unobserved.
            .then([form](pplx::task<web::json::value> answer) { WriteAnswer(form, answer); });
    } catch (...) {
        // The request could not even be made (an ISBN that is not valid
        // UTF-16, for one): the same message as a request that failed.
        ShowLookupFailure(form, LookupFailure::Answer);
        ++s_finishedLookups;
    }
}

unsigned long FinishedVolumeLookups() noexcept
{
    return s_finishedLookups.load();
}
