// What Val and the conversions after it make of many texts, one line per
// text, then rt::hypot of many pairs, so that the desktop build and the
// WebAssembly build can be compared byte for byte: every file named on the
// command line is one text, then 100 000 texts and 100 000 pairs made from a
// fixed seed (std::mt19937_64's numbers are the same everywhere; only its
// raw output is used, never a distribution).

#include "runtime/numeric/convert.h"
#include "runtime/numeric/hypot.h"
#include "runtime/numeric/number_text.h"
#include "runtime/numeric/runtime_error.h"
#include "runtime/numeric/val.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace {

constexpr int kRandomTexts = 100'000;
constexpr int kRandomPairs = 100'000;

// std::bit_cast is missing from emscripten's C++ library.
std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double doubleOf(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <class Convert>
void appendConverted(std::string& line, Convert convert, double value)
{
    line += ' ';
    try {
        rt::appendShortest(line, static_cast<double>(convert(value)));
    } catch (const rt::RuntimeError& e) {
        line += 'E';
        line += std::to_string(e.code());
    }
}

std::string describe(const std::string& text)
{
    std::string line;
    try {
        const double value = rt::Val(text);
        char bits[20];
        std::snprintf(bits, sizeof bits, "%016llx",
                      static_cast<unsigned long long>(bitsOf(value)));
        line = bits;
        line += ' ';
        rt::appendShortest(line, value);
        appendConverted(line, rt::ToInt16, value);
        appendConverted(line, rt::ToInt32, value);
        appendConverted(line, rt::ToSingle, value);
    } catch (const rt::RuntimeError& e) {
        line.clear();
        line.push_back('E');
        line.append(std::to_string(e.code()));
    }
    line.push_back('\n');
    return line;
}

std::string randomText(std::mt19937_64& random)
{
    auto pick = [&random](std::string_view from) { return from[random() % from.size()]; };
    std::string text;
    switch (random() % 5) {
    case 0:  // the shortest text of any double
        rt::appendShortest(text, doubleOf(random()));
        break;
    case 1: {  // a long mantissa and an exponent of any size, in any letter
        text += pick("+- ");
        for (int n = static_cast<int>(random() % 30); n > 0; --n)
            text += pick("0123456789");
        text += '.';
        for (int n = static_cast<int>(random() % 30); n > 0; --n)
            text += pick("0123456789");
        text += pick("EeDd");
        text += pick("+- ");
        text += std::to_string(random() % 700);
        break;
    }
    case 2:  // hexadecimal and octal
        text += random() % 2 ? "&H" : "&o";
        for (int n = static_cast<int>(random() % 12); n > 0; --n)
            text += pick("0123456789abcdefABCDEF");
        break;
    case 3:  // whatever a box may hold near a number
        for (int n = static_cast<int>(random() % 30); n > 0; --n)
            text += pick(" \t\n0123456789.+-eEdD&HhOox,");
        break;
    default:  // whole numbers of any size, with blanks inside
    {
        const std::string whole = std::to_string(static_cast<std::int64_t>(random()));
        const std::size_t at = random() % whole.size();
        text.append(whole, 0, at).append(" ").append(whole, at);
        break;
    }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string out;
    for (int i = 1; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "springlab-number-table: cannot read %s\n", argv[i]);
            return 1;
        }
        out += describe(std::string(std::istreambuf_iterator<char>(file), {}));
    }
    std::mt19937_64 random(20261207);
    for (int i = 0; i < kRandomTexts; ++i)
        out += describe(randomText(random));
    // Twips as the windows have them, any bit patterns, sides far apart.
    for (int i = 0; i < kRandomPairs; ++i) {
        const double x = i % 2 ? doubleOf(random()) : static_cast<double>(random() % 20000) - 10000.0;
        const double y = i % 3 ? doubleOf(random()) : static_cast<double>(random() % 20000) / 7.0;
        rt::appendShortest(out, rt::hypot(x, y));
        out.push_back('\n');
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
