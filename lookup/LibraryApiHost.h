// Where the National Diet Library's search service is asked, and how long
// its answer is waited for.
#pragma once

struct LibraryApiServer {
    const char* host;
    int port;            // 0: the scheme's default
    int timeoutSeconds;  // the longest wait for any step of the request
};

// The program's definition (LibraryApiHost.cpp) is fixed.  It sits alone in
// its translation unit so that a test program can link its own definition
// and send the same requests to a local server, with a shorter wait.
LibraryApiServer LibraryApi();
