// The request to the National Diet Library's search service and the two
// continuations that carry its record into the empty boxes of the book
// form.  Its failures show nothing: the book-volume service's answer, or its
// failure, stands on its own.
#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
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

// The Library's part of a press, ended once: by its answer, or when its time
// is up.  The client's own time-out counts from the last data received,
// and not every client keeps to it while the headers are awaited, so the
// time is kept here as well.
class LibraryTurn {
public:
    LibraryTurn(std::shared_ptr<LookupPress> press, pplx::cancellation_token_source request)
        : press_(std::move(press)), request_(std::move(request))
    {
    }

    void End(const LibraryAnswerWrites& mapped)
    {
        if (ended_.exchange(true)) return;
        press_->WriteLibrary(mapped);
        press_->RequestEnded();
    }

    // The answer's body as it starts to come; a turn that has ended already
    // takes none of it.
    void Reading(Body body)
    {
        {
            std::lock_guard<std::mutex> lock(bodyLock_);
            body_ = std::move(body);
        }
        if (ended_) StopReading();
    }

    // An answer not read to its end, or none in time: the client stops
    // taking it before the end is shown, which may wait on a message box.
    void GiveUp()
    {
        StopReading();
        End({});
    }

private:
    // A body is ended through the body itself: the reader sees its end, and
    // the client's next write into it fails, which ends the request on the
    // client's own thread.  Cancelling the request instead would close its
    // socket from this thread, and Boost.Asio's client (cpprest off
    // Windows) may be reading that socket on another at that moment: seen
    // here to crash the program.  WinHTTP's cancel is safe from any thread,
    // and needed there for an answer whose headers never come; Asio's own
    // time-out ends that one.
    void StopReading()
    {
        std::lock_guard<std::mutex> lock(bodyLock_);
        if (body_) {
            body_->close(std::ios_base::in | std::ios_base::out,
                         std::make_exception_ptr(std::runtime_error("the answer is no longer read")));
            return;
        }
#ifdef _WIN32
        request_.cancel();
#endif
    }

    const std::shared_ptr<LookupPress> press_;
    const pplx::cancellation_token_source request_;
    std::atomic<bool> ended_{false};
    std::mutex bodyLock_;
    std::optional<Body> body_;
};

}  // namespace

void AskLibrary(const std::shared_ptr<LookupPress>& press, const std::string& isbn) noexcept
{
    std::shared_ptr<LibraryTurn> turn;
    try {
        const std::chrono::seconds timeout(LibraryApi().timeoutSeconds);
        pplx::cancellation_token_source request;
        turn = std::make_shared<LibraryTurn>(press, request);
        web::http::client::http_client_config config;
        config.set_timeout(timeout);
        web::http::client::http_client client(LibraryUri(isbn), config);
        client.request(web::http::methods::GET, request.get_token())
            // The response: only a 200 has a record to read, but any body,
            // endless or not, is the turn's to stop.
            .then([turn](web::http::http_response response) {
                turn->Reading(response.body().streambuf());
                if (response.status_code() != web::http::status_codes::OK) throw std::runtime_error("no answer");
                return ReadAnswer(response.body().streambuf(), std::make_shared<std::string>());
            })
            // The record: into the empty boxes.
            .then([turn, isbn](pplx::task<std::string> answer) {
                try {
                    turn->End(MapLibraryAnswer(answer.get(), isbn));
                } catch (...) {
                    turn->GiveUp();
                }
            });
        RunLookupLater(timeout, [turn] { turn->GiveUp(); });
    } catch (...) {
        // The request could not be made, or its time not kept.
        if (turn) turn->GiveUp();
        else press->RequestEnded();
    }
}
