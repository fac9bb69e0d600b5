// Where the lookups are sent.
#pragma once

struct VolumeApiServer {
    const char* host;
    int port;  // 0: the scheme's default
};

// The program's definition (VolumeApiHost.cpp) names the book-volume web
// service on the default HTTPS port and is fixed.  It sits alone in its
// translation unit so that a test program can link its own definition and
// send the same requests to a local server.
VolumeApiServer VolumeApi();
