#include "lookup/LookupUri.h"

#include "lookup/LibraryApiHost.h"
#include "lookup/VolumeApiHost.h"

namespace {

// One ISBN has one record, now and then a few; the count only bounds an
// answer that would list more.
const utility::char_t kLibraryItems[] = U("10");

web::uri_builder HttpsBuilder(const char* host, int port, const utility::char_t* path)
{
    web::uri_builder builder;
    builder.set_scheme(U("https"));
    builder.set_host(utility::conversions::to_string_t(std::string(host)));
    if (port != 0) builder.set_port(port);
    builder.set_path(path);
    return builder;
}

// A builder without a port hands its URI over with port -1, which this
// cpprest passes to the resolver as the service "-1", so that no request
// ever leaves.  The same URI parsed from its text has port 0, which the
// client takes as the scheme's default (443).
web::uri ParsedUri(const web::uri_builder& builder)
{
    return web::uri(builder.to_string());
}

}  // namespace

web::uri_builder LookupUriBuilder(const std::u16string& isbn)
{
    const VolumeApiServer server = VolumeApi();
    web::uri_builder builder = HttpsBuilder(server.host, server.port, U("books/v1/volumes"));
    // Name and value are encoded apart, so that a "&", "=", "+" or ";" typed
    // in the ISBN stays part of it instead of starting another parameter.
    ::utf16string typed(isbn.begin(), isbn.end());
    builder.append_query(U("q"), U("isbn:") + utility::conversions::to_string_t(typed), true);
    return builder;
}

web::uri LookupUri(const std::u16string& isbn)
{
    return ParsedUri(LookupUriBuilder(isbn));
}

web::uri LibraryUri(const std::string& isbn)
{
    const LibraryApiServer server = LibraryApi();
    web::uri_builder builder = HttpsBuilder(server.host, server.port, U("api/opensearch"));
    builder.append_query(U("isbn"), utility::conversions::to_string_t(isbn));
    // The Library's own catalogue: other libraries' records would come first.
    builder.append_query(U("dpid"), U("iss-ndl-opac"));
    builder.append_query(U("cnt"), kLibraryItems);
    return ParsedUri(builder);
}
