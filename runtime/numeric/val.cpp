#include "runtime/numeric/val.h"

#include "runtime/numeric/number_text.h"

#include "runtime/numeric/runtime_error.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace rt {
namespace {

constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    // The next character that is not a blank, without taking it; 0 at the end.
    char peek()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }
    void take() { ++m_pos; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

double readRadix(Reader& in, unsigned radix)
{
    std::uint64_t value = 0;
    for (;;) {
        const int digit = digitValue(in.peek());
        if (digit >= static_cast<int>(radix))
            break;
        in.take();
        value = value * radix + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu)
            throw RuntimeError(ErrorNumber::Overflow);
    }
    if (value <= 0xFFFFu)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

double Val(std::string_view text)
{
    Reader in(text);
    if (in.peek() == '&') {
        in.take();
        const char kind = in.peek();
        if (kind == 'H' || kind == 'h') {
            in.take();
            return readRadix(in, 16);
        }
        if (kind == 'O' || kind == 'o') {
            in.take();
            return readRadix(in, 8);
        }
        return 0.0;
    }

    // Gather the number without its blanks, then let readNumber round it
    // correctly; it never looks at the C locale, so a comma locale cannot
    // change what a period means.
    std::string number;
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.take();
    }
    bool seenPoint = false;
    bool seenDigit = false;
    // Where the mantissa's first significant digit stands relative to the
    // point (123.4 -> 3, 0.005 -> -2): only used to tell an overflow from a
    // value too small to represent.
    long long integerDigits = 0;
    long long zerosAfterPoint = 0;
    bool seenNonZero = false;
    for (;;) {
        const char c = in.peek();
        if (isDigit(c)) {
            seenDigit = true;
            seenNonZero = seenNonZero || c != '0';
            if (seenNonZero && !seenPoint)
                ++integerDigits;
            else if (!seenNonZero && seenPoint)
                ++zerosAfterPoint;
            number += c;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            number += c;
        } else {
            break;
        }
        in.take();
    }
    long long leadingExponent = integerDigits > 0 ? integerDigits : -zerosAfterPoint;
    if (!seenDigit)
        return 0.0;

    const char marker = in.peek();
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
        in.take();
        bool negativeExponent = false;
        if (in.peek() == '+' || in.peek() == '-') {
            negativeExponent = in.peek() == '-';
            in.take();
        }
        long long exponent = 0;
        bool exponentDigits = false;
        while (isDigit(in.peek())) {
            exponentDigits = true;
            // Saturate: anything this large is out of range either way.
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (in.peek() - '0');
            in.take();
        }
        if (exponentDigits) {
            if (negativeExponent)
                exponent = -exponent;
            number += 'e';
            number += std::to_string(exponent);
            leadingExponent += exponent;
        }
    }

    double value = 0.0;
    const auto result = readNumber(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (seenNonZero && leadingExponent > 0)
            throw RuntimeError(ErrorNumber::Overflow);
        value = 0.0;
    }
    return negative ? -value : value;
}

}  // namespace rt
