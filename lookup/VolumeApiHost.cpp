#include "lookup/VolumeApiHost.h"

namespace {
const char kVolumeApiHost[] = "www.googleapis.com";
}

VolumeApiServer VolumeApi()
{
    return {kVolumeApiHost, 0};
}
