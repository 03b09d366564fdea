#include "rules/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

#include "base/text_line.h"

namespace vantrel {

std::string NumberText(std::int64_t value) { return std::string(TextLine().Number(value).view()); }

std::string NumberText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return NumberText(static_cast<std::int64_t>(value));
    // to_chars is independent of the C locale, which the window toolkit may
    // have changed; printf would write a decimal comma in some locales.
    std::array<char, 48> buffer{};
    buffer[0] = ' ';
    char* begin = buffer.data() + (std::signbit(value) ? 0 : 1);
    auto [end, ec] = std::to_chars(begin, buffer.data() + buffer.size(), value, std::chars_format::general, 15);
    (void)ec;  // 48 characters hold any value at 15 digits
    return std::string(buffer.data(), end);
}

std::string PlainNumberText(std::int64_t value) { return std::string(TextLine().Plain(value).view()); }

}  // namespace vantrel
