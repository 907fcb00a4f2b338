#pragma once

#include "platform/file_system.h"

namespace qorvale::pgn::test {

// The real file system with one chosen step failing.
class FaultyFileSystem final : public platform::FileSystem {
  public:
    enum class Step { None, Create, Write, Flush, Rename };
    explicit FaultyFileSystem(Step failing) : failing_(failing) {}

    platform::File Create(const std::string& path) override {
        return failing_ == Step::Create ? platform::File() : FileSystem::Create(path);
    }
    bool Write(platform::File& file, const void* data, std::int64_t size) override {
        // Half the data reaches the disk before the failure, as on a full disk.
        if (failing_ == Step::Write) {
            (void)FileSystem::Write(file, data, size / 2);
            return false;
        }
        return FileSystem::Write(file, data, size);
    }
    bool Flush(platform::File& file) override {
        return failing_ != Step::Flush && FileSystem::Flush(file);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return failing_ != Step::Rename && FileSystem::Rename(from, to);
    }

  private:
    Step failing_;
};

}  // namespace qorvale::pgn::test
