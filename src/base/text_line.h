#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>

namespace vantrel {

/// Builds one report line in place, without touching the heap: a deal writes
/// some thirty lines and a search makes thousands of deals.
class TextLine {
public:
    static constexpr std::size_t kCapacity = 120;

    TextLine& operator<<(std::string_view text) {
        const std::size_t n = text.size() < kCapacity - size_ ? text.size() : kCapacity - size_;
        text.copy(chars_.data() + size_, n);
        size_ += n;
        return *this;
    }
    /// The standard number text: a blank for the sign of zero or more.
    TextLine& Number(std::int64_t value) {
        if (value >= 0) *this << " ";
        return Plain(value);
    }
    /// The plain form: the digits with a minus sign when negative.
    TextLine& Plain(std::int64_t value) {
        auto [end, ec] = std::to_chars(chars_.data() + size_, chars_.data() + kCapacity, value);
        if (ec == std::errc()) size_ = static_cast<std::size_t>(end - chars_.data());
        return *this;
    }
    TextLine& Blanks(int count) {
        for (int i = 0; i < count; ++i) *this << " ";
        return *this;
    }

    [[nodiscard]] std::string_view view() const { return {chars_.data(), size_}; }
    operator std::string_view() const { return view(); }  // NOLINT: a line is a text

private:
    std::array<char, kCapacity> chars_{};
    std::size_t size_ = 0;
};

}  // namespace vantrel
