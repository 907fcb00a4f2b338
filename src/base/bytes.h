#pragma once

// Little-endian reading and writing of the program's binary files. Every binary layout goes
// through these helpers; structs are never written to disk as they lie in memory.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace qorvale {

inline std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t GetI32(const std::uint8_t* p) { return static_cast<std::int32_t>(GetU32(p)); }
inline double GetF64(const std::uint8_t* p) {
    std::uint64_t bits = GetU32(p) | (static_cast<std::uint64_t>(GetU32(p + 4)) << 32);
    double value;
    static_assert(sizeof value == sizeof bits);
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void PutU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}
inline void PutI32(std::uint8_t* p, std::int32_t v) { PutU32(p, static_cast<std::uint32_t>(v)); }
inline void PutF64(std::uint8_t* p, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(p, static_cast<std::uint32_t>(bits));
    PutU32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

// Appending writers for files built in memory before they are written whole.
inline void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// Strings in the binary header files carry an 8-bit length prefix; longer texts are cut at 255.
inline void AppendShortString(std::vector<std::uint8_t>& out, std::string_view text) {
    std::size_t length = text.size() > 255 ? 255 : text.size();
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

// Reads a length-prefixed string at `offset`, advancing it; returns false when the data is short.
inline bool ReadShortString(const std::uint8_t* data, std::size_t size, std::size_t& offset,
                            std::string& text) {
    if (offset >= size) return false;
    std::size_t length = data[offset];
    if (offset + 1 + length > size) return false;
    text.assign(reinterpret_cast<const char*>(data + offset + 1), length);
    offset += 1 + length;
    return true;
}

// Zero-terminated text in a fixed field of `size` bytes: at most size - 1 characters, the rest of
// the field zeros.
inline void AppendFixedText(std::vector<std::uint8_t>& out, std::string_view text,
                            std::size_t size) {
    std::size_t length = text.size() < size ? text.size() : size - 1;
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    out.insert(out.end(), size - length, 0);
}
inline std::string ReadFixedText(const std::uint8_t* in, std::size_t size) {
    std::size_t length = 0;
    while (length + 1 < size && in[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(in), length);
}

}  // namespace qorvale
