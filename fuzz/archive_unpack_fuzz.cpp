// Any bytes as a downloaded file: told apart as zip, gzip, bzip2 or plain by their first bytes
// and unpacked, every entry name checked, into a sink that keeps only a count.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "utilities/archive_unpack.h"

namespace {

class CountingSink final : public qorvale::utilities::UnpackSink {
  public:
    bool Begin(const std::string& name) override {
        // Only names the check let through ever reach a sink.
        if (!qorvale::utilities::IsSafeEntryName(name)) __builtin_trap();
        return true;
    }
    bool Write(const char*, std::size_t size) override {
        bytes_ += size;
        return true;
    }
    bool End() override { return true; }

  private:
    std::size_t bytes_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvale::utilities;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CountingSink sink;
    const PackedForm form = DetectPackedForm(bytes.substr(0, 8));
    // Every form is tried, not only the one the bytes announce, so the readers meet damage too.
    for (PackedForm tried : {form, PackedForm::Zip, PackedForm::Gzip, PackedForm::Bzip2}) {
        if (tried == PackedForm::Plain) continue;
        (void)UnpackArchiveMemory(bytes, tried, "games.pgn", 1 << 20, sink);
    }
    return 0;
}
