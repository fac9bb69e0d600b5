#include "lookup/LibraryApiHost.h"

namespace {
const char kLibraryApiHost[] = "ndlsearch.ndl.go.jp";
// A box that waits for the Library waits no longer than this.
constexpr int kLibraryTimeoutSeconds = 10;
}

LibraryApiServer LibraryApi()
{
    return {kLibraryApiHost, 0, kLibraryTimeoutSeconds};
}
