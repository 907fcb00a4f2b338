#pragma once

#include "platform/file_system.h"

// The real file system without the flush to the disk: a fuzzing run writes the same scratch
// files thousands of times and waits on nothing.
class NoSyncFileSystem final : public qorvale::platform::FileSystem {
  public:
    bool Flush(qorvale::platform::File&) override { return true; }
};
