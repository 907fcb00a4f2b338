#include "output/gif_encoder.h"

#include <array>
#include <cassert>
#include <cstring>
#include <memory>
#include <new>

#include "base/bytes.h"

namespace qorvale::output {

namespace {

constexpr std::uint32_t HashBuckets = 8191;
constexpr int MaxCodeSize = 12;
constexpr std::uint32_t LastCode = 4095;

// The hash of a pattern is built one byte at a time (FNV-1a), so the pattern in hand is never
// hashed again from its start. A plain sum of per-byte terms would do the same but is blind to
// byte order, and high colour indices shifted past 32 bits repeat every few bytes: the runs and
// mixtures of two square colours that fill a diagram then share a few long chains.
constexpr std::uint32_t HashStart = 2166136261u;
constexpr std::uint32_t HashStep(std::uint32_t hash, std::uint8_t byte) {
    return (hash ^ byte) * 16777619u;
}

class LzwEncoder {
  public:
    LzwEncoder(int bits, const LzwPool& pool, std::vector<std::uint8_t>& out)
        : bits_(bits), clear_code_(1u << bits), pool_(pool), out_(out) {
        // Only the bytes of stored patterns are ever read: the pool needs no clearing.
        strings_ = std::make_unique_for_overwrite<std::uint8_t[]>(pool.bytes);
        nodes_.reserve(LastCode + 1);
        heads_.fill(-1);
    }

    Error Encode(std::span<const std::uint8_t> pixels);

  private:
    struct Node {
        std::uint32_t offset;  // of its bytes in strings_
        std::uint32_t length;
        std::int32_t next;  // the next node of its hash chain, -1 at the end
        std::uint32_t code;
    };

    void Initialise();
    // The code of the pattern, or -1 when the dictionary does not hold it.
    std::int64_t Find(const std::uint8_t* bytes, std::size_t length, std::uint32_t hash) const;
    void Store(const std::uint8_t* bytes, std::size_t length, std::uint32_t hash,
               std::uint32_t code);
    void Write(std::uint32_t code);
    // Writes a code that stands for pixels and counts it towards the next width.
    void Emit(std::uint32_t code);
    void PutByte(std::uint8_t byte);
    void Finish();

    const int bits_;
    const std::uint32_t clear_code_;
    const LzwPool& pool_;
    std::vector<std::uint8_t>& out_;

    std::unique_ptr<std::uint8_t[]> strings_;
    std::size_t strings_used_ = 0;
    std::vector<Node> nodes_;
    std::array<std::int32_t, HashBuckets> heads_{};
    std::size_t longest_ = 1;

    int code_size_ = 0;
    std::uint32_t next_code_ = 0;
    std::uint32_t size_limit_ = 0;

    std::uint32_t pending_ = 0;  // bits not yet in a byte, from bit 0
    int pending_bits_ = 0;
    std::array<std::uint8_t, 256> block_{};
    std::size_t collected_ = 0;
};

void LzwEncoder::Initialise() {
    heads_.fill(-1);
    nodes_.clear();
    // The single-byte patterns are always there; only their bytes count against the pool.
    strings_used_ = std::size_t{1} << bits_;
    longest_ = 1;
    code_size_ = bits_ + 1;
    next_code_ = clear_code_ + 1;
    size_limit_ = 1u << code_size_;
}

std::int64_t LzwEncoder::Find(const std::uint8_t* bytes, std::size_t length,
                              std::uint32_t hash) const {
    if (length > longest_) return -1;
    for (std::int32_t index = heads_[hash % HashBuckets]; index >= 0;) {
        const Node& node = nodes_[static_cast<std::size_t>(index)];
        if (node.length == length && std::memcmp(&strings_[node.offset], bytes, length) == 0) {
            return node.code;
        }
        index = node.next;
    }
    return -1;
}

void LzwEncoder::Store(const std::uint8_t* bytes, std::size_t length, std::uint32_t hash,
                       std::uint32_t code) {
    std::memcpy(&strings_[strings_used_], bytes, length);
    const auto index = static_cast<std::int32_t>(nodes_.size());
    nodes_.push_back(
        {static_cast<std::uint32_t>(strings_used_), static_cast<std::uint32_t>(length), -1, code});
    strings_used_ += length;
    // A new node goes to the end of its chain.
    std::int32_t* link = &heads_[hash % HashBuckets];
    while (*link >= 0) link = &nodes_[static_cast<std::size_t>(*link)].next;
    *link = index;
}

void LzwEncoder::Write(std::uint32_t code) {
    pending_ |= code << pending_bits_;
    pending_bits_ += code_size_;
    while (pending_bits_ >= 8) {
        PutByte(static_cast<std::uint8_t>(pending_));
        pending_ >>= 8;
        pending_bits_ -= 8;
    }
}

void LzwEncoder::Emit(std::uint32_t code) {
    Write(code);
    ++next_code_;
    if (next_code_ == size_limit_ && code_size_ < MaxCodeSize) {
        ++code_size_;
        size_limit_ <<= 1;
    }
}

void LzwEncoder::PutByte(std::uint8_t byte) {
    block_[1 + collected_++] = byte;
    if (collected_ == 255) {
        block_[0] = 255;
        out_.insert(out_.end(), block_.begin(), block_.end());
        collected_ = 0;
    }
}

void LzwEncoder::Finish() {
    if (collected_ == 0 && pending_bits_ == 0) return;
    // The last byte goes out even when it holds no bits.
    block_[1 + collected_++] = static_cast<std::uint8_t>(pending_);
    block_[0] = static_cast<std::uint8_t>(collected_);
    out_.insert(out_.end(), block_.begin(), block_.begin() + 1 + collected_);
    pending_ = 0;
    pending_bits_ = 0;
    collected_ = 0;
}

Error LzwEncoder::Encode(std::span<const std::uint8_t> pixels) {
    // The clear code is written before the dictionary is set up, at the start as after every
    // reset, so that both count their codes alike.
    code_size_ = bits_ + 1;
    Write(clear_code_);
    Initialise();
    if (!pixels.empty()) {
        const std::uint8_t* pattern = pixels.data();  // the pattern in hand is a run of pixels
        std::size_t length = 1;
        std::uint32_t code = pattern[0];
        std::uint32_t hash = HashStep(HashStart, pattern[0]);
        for (std::size_t at = 1; at < pixels.size(); ++at) {
            assert(pixels[at] < clear_code_);
            if (length >= LzwLongestPattern) return Error(std::string(NextPatternTooLong));
            const std::uint32_t longer_hash = HashStep(hash, pixels[at]);
            const std::int64_t found = Find(pattern, length + 1, longer_hash);
            if (found >= 0) {
                code = static_cast<std::uint32_t>(found);
                ++length;
                hash = longer_hash;
                continue;
            }
            if (strings_used_ + length + 1 > pool_.bytes) {
                return Error(std::string(pool_.full_message));
            }
            if (length + 1 > longest_) longest_ = length + 1;
            Store(pattern, length + 1, longer_hash, next_code_ + 1);
            Emit(code);
            if (code_size_ == MaxCodeSize && next_code_ == LastCode) {
                Write(clear_code_);
                Initialise();
            }
            pattern = &pixels[at];
            length = 1;
            code = pixels[at];
            hash = HashStep(HashStart, pixels[at]);
        }
        Emit(code);
    }
    Write(clear_code_ + 1);
    Finish();
    return Error::Ok();
}

}  // namespace

Result<std::vector<std::uint8_t>> EncodeLzw(std::span<const std::uint8_t> pixels, int bits,
                                            const LzwPool& pool) {
    std::vector<std::uint8_t> out;
    try {
        out.reserve(pixels.size() / 2 + 64);
        LzwEncoder encoder(bits, pool, out);
        if (Error error = encoder.Encode(pixels)) return error;
    } catch (const std::bad_alloc&) {
        return Error(std::string(ErrorAllocatingHashTable));
    }
    return out;
}

Result<std::vector<std::uint8_t>> EncodeGif(const GifImage& image, const LzwPool& pool) {
    const std::size_t colours = std::size_t{1} << image.bits;
    assert(image.colours.size() == colours);
    assert(image.pixels.size() ==
           static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    Result<std::vector<std::uint8_t>> data = EncodeLzw(image.pixels, image.bits, pool);
    if (!data.ok()) return data.error();

    std::vector<std::uint8_t> file;
    file.reserve(13 + 3 * colours + 11 + data->size() + 2);
    for (char c : std::string_view("GIF87a")) file.push_back(static_cast<std::uint8_t>(c));
    AppendU16(file, static_cast<std::uint16_t>(image.width));
    AppendU16(file, static_cast<std::uint16_t>(image.height));
    file.push_back(static_cast<std::uint8_t>(0x80 + image.bits - 1));
    file.push_back(image.background);
    file.push_back(0);
    for (const Rgb& colour : image.colours) {
        file.push_back(colour.red);
        file.push_back(colour.green);
        file.push_back(colour.blue);
    }
    file.push_back(',');
    AppendU16(file, 0);
    AppendU16(file, 0);
    AppendU16(file, static_cast<std::uint16_t>(image.width));
    AppendU16(file, static_cast<std::uint16_t>(image.height));
    file.push_back(0);
    file.push_back(static_cast<std::uint8_t>(image.bits));
    file.insert(file.end(), data->begin(), data->end());
    file.push_back(0);
    file.push_back(';');
    return file;
}

}  // namespace qorvale::output
