// The request to the book-volume web service and the two continuations
// that carry its answer into the book form.  The continuations run on the
// lookup workers (see LookupScheduler.cpp) and hold nothing but the press.
#include <stdexcept>
#include <cpprest/http_client.h>

#include "lookup/LookupPress.h"
#include "lookup/LookupUri.h"
#include "lookup/VolumeAnswer.h"

namespace {

// An answer for one ISBN is a few kilobytes.  One that grows past this is
// refused by the client itself, on its own thread, as a failed read: an
// endless body takes no more memory than that.
constexpr utility::size64_t kAnswerLimit = 1024 * 1024;

web::http::http_request LimitedRequest()
{
    web::http::http_request request(web::http::methods::GET);
    // Called on the client's threads: it may only throw.
    request.set_progress_handler([](web::http::message_direction::direction direction, utility::size64_t received) {
        if (direction == web::http::message_direction::download && received > kAnswerLimit)
            throw std::length_error("longer than any answer for one ISBN");
    });
    return request;
}

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
        client.request(LimitedRequest())
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
