// The URIs that look up one ISBN: at the book-volume web service, and at
// the National Diet Library's search service.
#pragma once
#include <string>
#include <cpprest/uri_builder.h>

// https://HOST/books/v1/volumes?q=isbn:ISBN, with the ISBN exactly as typed
// and percent-encoded as query data.
web::uri_builder LookupUriBuilder(const std::u16string& isbn);

// The URI the request is made with: the builder's URI as parsed text (see
// LookupUri.cpp for why not the builder's own).
web::uri LookupUri(const std::u16string& isbn);

// https://HOST/api/opensearch?isbn=ISBN&dpid=iss-ndl-opac&cnt=N for the
// ISBN's own characters (IsbnCharacters): the Library's own records, at
// most N of them.
web::uri LibraryUri(const std::string& isbn);
