#include "lookup/LookupUri.h"

#include "lookup/VolumeApiHost.h"

web::uri_builder LookupUriBuilder(const std::u16string& isbn)
{
    const VolumeApiServer server = VolumeApi();
    web::uri_builder builder;
    builder.set_scheme(U("https"));
    builder.set_host(utility::conversions::to_string_t(std::string(server.host)));
    if (server.port != 0) builder.set_port(server.port);
    builder.set_path(U("books/v1/volumes"));
    // Name and value are encoded apart, so that a "&", "=", "+" or ";" typed
    // in the ISBN stays part of it instead of starting another parameter.
    ::utf16string typed(isbn.begin(), isbn.end());
    builder.append_query(U("q"), U("isbn:") + utility::conversions::to_string_t(typed), true);
    return builder;
}

web::uri LookupUri(const std::u16string& isbn)
{
    // A builder without a port hands its URI over with port -1, which this
    // cpprest passes to the resolver as the service "-1", so that no request
    // ever leaves.  The same URI parsed from its text has port 0, which the
    // client takes as the scheme's default (443).
    return web::uri(LookupUriBuilder(isbn).to_string());
}
