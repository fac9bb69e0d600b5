// The request to the National Diet Library's search service and the two
// continuations that carry its record into the empty boxes of the book
// form.  Its failures show nothing: the book-volume service's answer, or its
// failure, stands on its own.
#include <array>
#include <chrono>
#include <stdexcept>
#include <cpprest/http_client.h>

#include "lookup/LibraryApiHost.h"
#include "lookup/LookupPress.h"
#include "lookup/LookupUri.h"

namespace {

// The answer for one ISBN is a few kilobytes; a longer one is not read on.
constexpr std::size_t kAnswerLimit = 256 * 1024;

using Body = concurrency::streams::streambuf<uint8_t>;

// Reads the body to its end, as it arrives, and fails as soon as it holds
// more than the limit: an endless body takes no more memory than that.
pplx::task<std::string> ReadAnswer(Body body, std::shared_ptr<std::string> text)
{
    auto chunk = std::make_shared<std::array<uint8_t, 16 * 1024>>();
    return body.getn(chunk->data(), chunk->size()).then([body, text, chunk](std::size_t read) {
        if (read == 0) return pplx::task_from_result(std::move(*text));
        text->append(reinterpret_cast<const char*>(chunk->data()), read);
        if (text->size() > kAnswerLimit) throw std::length_error("longer than any answer for one ISBN");
        return ReadAnswer(body, text);
    });
}

}  // namespace

void AskLibrary(const std::shared_ptr<LookupPress>& press, const std::string& isbn) noexcept
{
    try {
        // Its own time-out: the message, if any, waits for this request.
        web::http::client::http_client_config config;
        config.set_timeout(std::chrono::seconds(LibraryApi().timeoutSeconds));
        web::http::client::http_client client(LibraryUri(isbn), config);
        pplx::cancellation_token_source cancel;
        client.request(web::http::methods::GET, cancel.get_token())
            // The response: only a 200 has a record to read.
            .then([](web::http::http_response response) {
                if (response.status_code() != web::http::status_codes::OK) throw std::runtime_error("no answer");
                return ReadAnswer(response.body().streambuf(), std::make_shared<std::string>());
            })
            // The record: into the empty boxes.  An answer that is not read
            // to its end is cancelled, so that the client stops taking it.
            .then([press, isbn, cancel](pplx::task<std::string> answer) {
                LibraryAnswerWrites mapped;
                try {
                    mapped = MapLibraryAnswer(answer.get(), isbn);
                } catch (...) {
                    cancel.cancel();
                }
                press->WriteLibrary(mapped);
                press->RequestEnded();
            });
    } catch (...) {
        press->RequestEnded();
    }
}
