#include "app/options_record.h"

#include <algorithm>
#include <type_traits>

#include "base/bytes.h"

namespace qorvale::app {

namespace {

template <typename T>
struct IsStdArray : std::false_type {};
template <typename T, std::size_t N>
struct IsStdArray<std::array<T, N>> : std::true_type {};

template <typename Field>
constexpr std::size_t FieldSize() {
    if constexpr (IsStdArray<Field>::value) {
        return sizeof(typename Field::value_type) * std::tuple_size_v<Field>;
    } else {
        return sizeof(Field);
    }
}

// One element: 32-bit values little-endian, bytes and characters as they are.
template <typename T>
void PutElement(std::uint8_t* out, T value) {
    if constexpr (sizeof(T) == 4) {
        PutU32(out, static_cast<std::uint32_t>(value));
    } else {
        static_assert(sizeof(T) == 1);
        *out = static_cast<std::uint8_t>(value);
    }
}

template <typename T>
T GetElement(const std::uint8_t* in) {
    if constexpr (sizeof(T) == 4) {
        return static_cast<T>(GetU32(in));
    } else {
        static_assert(sizeof(T) == 1);
        return static_cast<T>(*in);
    }
}

template <typename Field>
void PutField(std::uint8_t* out, const Field& field) {
    if constexpr (IsStdArray<Field>::value) {
        using Element = typename Field::value_type;
        for (std::size_t i = 0; i < field.size(); ++i)
            PutElement(out + i * sizeof(Element), field[i]);
    } else {
        PutElement(out, field);
    }
}

template <typename Field>
void GetField(const std::uint8_t* in, Field& field) {
    if constexpr (IsStdArray<Field>::value) {
        using Element = typename Field::value_type;
        for (std::size_t i = 0; i < field.size(); ++i) {
            field[i] = GetElement<Element>(in + i * sizeof(Element));
        }
    } else {
        field = GetElement<Field>(in);
    }
}

}  // namespace

std::vector<OptionsField> OptionsLayout() {
    std::vector<OptionsField> layout;
    OptionsRecord record;
    ForEachOptionsField(record, [&](std::string_view name, std::size_t offset, auto& field) {
        layout.push_back({name, offset, FieldSize<std::remove_cvref_t<decltype(field)>>()});
    });
    return layout;
}

std::string GetText(std::span<const char> field) {
    std::size_t length = 0;
    while (length < field.size() && field[length] != '\0') ++length;
    return std::string(field.data(), length);
}

void SetText(std::span<char> field, std::string_view text) {
    if (field.empty()) return;
    std::fill(field.begin(), field.end(), '\0');
    std::size_t length = std::min(text.size(), field.size() - 1);
    std::copy_n(text.begin(), length, field.begin());
}

OptionsBytes EncodeOptions(const OptionsRecord& record) {
    OptionsBytes bytes{};
    ForEachOptionsField(record, [&](std::string_view, std::size_t offset, const auto& field) {
        PutField(bytes.data() + offset, field);
    });
    return bytes;
}

OptionsRecord DecodeOptions(const std::uint8_t* data, std::size_t size) {
    OptionsBytes bytes{};
    for (std::size_t i = 0; i < size && i < bytes.size(); ++i) bytes[i] = data[i];
    OptionsRecord record;
    ForEachOptionsField(record, [&](std::string_view, std::size_t offset, auto& field) {
        GetField(bytes.data() + offset, field);
    });
    return record;
}

}  // namespace qorvale::app
