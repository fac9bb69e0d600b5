// The request to the book-volume web service and the two continuations
// that carry its answer into the book form.  The continuations run on the
// lookup workers (see LookupScheduler.cpp) and hold nothing but the press.
#include <cpprest/http_client.h>

#include "lookup/LookupPress.h"
#include "lookup/LookupUri.h"
#include "lookup/VolumeAnswer.h"

namespace {

// Status 200 has an answer to read, as JSON (the content type must say so);
// any other status passes on a null answer, which the mapping refuses.
pplx::task<web::json::value> AnswerOfResponse(LookupPress& press, web::http::http_response response)
{
    try {
        if (response.status_code() == web::http::status_codes::OK) return response.extract_json();
        return pplx::task_from_result(web::json::value());
    } catch (...) {
        press.VolumeFailed(LookupFailure::Request);
        return pplx::task_from_result(web::json::value());
    }
}

// Every failure of the chain ends here, in one failure kept for the end of
// the press; the boxes written before it keep their new text.
void WriteAnswer(LookupPress& press, const pplx::task<web::json::value>& answer)
{
    try {
        VolumeAnswerWrites mapped = MapVolumeAnswer(answer.get());
        press.WriteVolume(mapped.writes);
        if (mapped.failed) press.VolumeFailed(LookupFailure::Answer);
    } catch (...) {
        press.VolumeFailed(LookupFailure::Answer);
    }
    press.RequestEnded();
}

}  // namespace

void AskVolumeService(const std::shared_ptr<LookupPress>& press, const std::u16string& isbn) noexcept
{
    try {
        // The request in flight keeps alive what it needs of the client.
        web::http::client::http_client client(LookupUri(isbn));
        client.request(web::http::methods::GET)
            // The response: its status decides whether there is an answer.
            .then([press](web::http::http_response response) { return AnswerOfResponse(*press, response); })
            // The answer: into the form, or one failure; nothing is left unobserved.
            .then([press](pplx::task<web::json::value> answer) { WriteAnswer(*press, answer); });
    } catch (...) {
        // The request could not even be made (an ISBN that is not valid
        // UTF-16, for one): the same failure as a request that failed.
        press->VolumeFailed(LookupFailure::Answer);
        press->RequestEnded();
    }
}
