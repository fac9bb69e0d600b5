// The answer of the book-volume web service, turned into the texts of the
// book form: title, first author, year and month of the first volume.
#pragma once
#include <string>
#include <vector>
#include <cpprest/json.h>

#include "lookup/FormBoxWrite.h"

struct VolumeAnswerWrites {
    std::vector<FormBoxWrite> writes;  // in the order they are to be made
    bool failed = false;               // stopped at a missing or malformed part
};

// The writes for the answer, up to the first part that cannot be read; the
// writes before that part are still made.  Never throws.
VolumeAnswerWrites MapVolumeAnswer(const web::json::value& answer);
