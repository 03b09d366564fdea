#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// A short text held inline, so that a card record is a plain value that
// copies as cheaply as an integer pair. The shuffle moves records thousands
// of times per deal; heap-allocated strings would dominate that work.
template <std::size_t Capacity>
class FixedText {
public:
    constexpr FixedText() = default;
    constexpr FixedText(std::string_view text) { Assign(text); }                  // NOLINT: texts convert freely
    constexpr FixedText(const char* text) : FixedText(std::string_view(text)) {}  // NOLINT

    constexpr FixedText& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }

    [[nodiscard]] constexpr std::string_view view() const { return {chars_.data(), size_}; }
    [[nodiscard]] std::string str() const { return std::string(view()); }
    [[nodiscard]] constexpr bool empty() const { return size_ == 0; }
    constexpr operator std::string_view() const { return view(); }  // NOLINT

    friend constexpr bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
    friend constexpr bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }
    friend constexpr bool operator==(const FixedText& a, const char* b) { return a.view() == std::string_view(b); }
    friend constexpr bool operator==(const FixedText& a, const std::string& b) { return a.view() == b; }

private:
    constexpr void Assign(std::string_view text) {
        size_ = static_cast<std::uint8_t>(text.size() < Capacity ? text.size() : Capacity);
        chars_ = {};
        for (std::size_t i = 0; i < size_; ++i) chars_[i] = text[i];
    }

    std::array<char, Capacity> chars_{};
    std::uint8_t size_ = 0;
};

using FieldText = FixedText<3>;

/// One card: the face bitmap, the suit letter, the rank text, the card code
/// (or, in the play deck, the trick value) and the seat letter of the table
/// position the record stands in. Records are values.
struct CardRec {
    std::int16_t Pic = 0;
    FieldText Suit;
    FieldText Rank;
    std::int16_t Code = 0;
    FieldText Seat;

    friend constexpr bool operator==(const CardRec&, const CardRec&) = default;
};

}  // namespace vantrel
