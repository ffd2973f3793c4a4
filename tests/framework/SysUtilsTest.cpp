#include "framework/core/SysUtils.h"

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <unistd.h>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Switches LC_NUMERIC to a locale whose decimal separator is ',' for the lifetime of the object. A German
// locale is used when the system has one; otherwise a minimal one is compiled into a temporary folder.
class TCommaLocale {
public:
    TCommaLocale()
    {
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || Compile())
            FActive = IsComma();
    }
    ~TCommaLocale()
    {
        std::setlocale(LC_NUMERIC, "C");
        if (!FFolder.empty()) {
            unsetenv("LOCPATH");
            std::filesystem::remove_all(FFolder);
        }
    }
    bool Active() const { return FActive; }

private:
    bool Compile()
    {
        char pattern[] = "/tmp/tp_locale_XXXXXX";
        if (!mkdtemp(pattern))
            return false;
        FFolder = pattern;
        std::ofstream(FFolder + "/comma.src") << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                                                 "grouping 3\nEND LC_NUMERIC\n";
        std::string command
            = "localedef -c -i " + FFolder + "/comma.src -f ANSI_X3.4-1968 " + FFolder + "/tp_comma >/dev/null 2>&1";
        // localedef exits non-zero for the categories the source leaves out; the setlocale below decides.
        if (std::system(command.c_str()) == -1)
            return false;
        setenv("LOCPATH", FFolder.c_str(), 1);
        return std::setlocale(LC_NUMERIC, "tp_comma") != nullptr;
    }
    static bool IsComma()
    {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
        return std::string(buffer) == "1,5";
    }

    std::string FFolder;
    bool FActive = false;
};

} // namespace

// ---- Integers ----------------------------------------------------------------------------------------------

TEST(SysUtils, IntegerTextForms)
{
    struct Case {
        const char* text;
        bool valid32;
        int value32;
        bool valid64;
        int64_t value64;
    };
    constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();
    const Case kCases[] = {
        { "0", true, 0, true, 0 },
        { " 42 ", true, 42, true, 42 },
        { "\t-17\t", true, -17, true, -17 },
        { "+5", true, 5, true, 5 },
        { "007", true, 7, true, 7 },
        { "$1F", true, 31, true, 31 },
        { "0x1f", true, 31, true, 31 },
        { "0X1F", true, 31, true, 31 },
        { "-$10", true, -16, true, -16 },
        { "+0x10", true, 16, true, 16 },
        { "2147483647", true, 2147483647, true, 2147483647 },
        { "-2147483648", true, -2147483647 - 1, true, -2147483648LL },
        { "-0x80000000", true, -2147483647 - 1, true, -2147483648LL },
        { "2147483648", false, 0, true, 2147483648LL },
        { "-2147483649", false, 0, true, -2147483649LL },
        { "$FFFFFFFF", false, 0, true, 4294967295LL },
        { "9223372036854775807", false, 0, true, std::numeric_limits<int64_t>::max() },
        { "-9223372036854775808", false, 0, true, kMin64 },
        { "-$8000000000000000", false, 0, true, kMin64 },
        { "9223372036854775808", false, 0, false, 0 },
        { "$10000000000000000", false, 0, false, 0 },
        { "99999999999999999999999", false, 0, false, 0 },
        { "", false, 0, false, 0 },
        { "  ", false, 0, false, 0 },
        { "12abc", false, 0, false, 0 },
        { "abc", false, 0, false, 0 },
        { "0x", false, 0, false, 0 },
        { "$", false, 0, false, 0 },
        { "-", false, 0, false, 0 },
        { "--1", false, 0, false, 0 },
        { "- 1", false, 0, false, 0 },
        { "1 2", false, 0, false, 0 },
        { "1.0", false, 0, false, 0 },
        { "$-1", false, 0, false, 0 },
        { "$G", false, 0, false, 0 },
        { "\n1", false, 0, false, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        int v32 = -99;
        EXPECT_EQ(TryStrToInt(c.text, v32), c.valid32);
        int64_t v64 = -99;
        EXPECT_EQ(TryStrToInt64(c.text, v64), c.valid64);
        if (c.valid32) {
            EXPECT_EQ(v32, c.value32);
            EXPECT_EQ(StrToInt(c.text), c.value32);
        } else {
            EXPECT_EQ(v32, -99) << "a failed conversion leaves the variable alone";
            EXPECT_EQ(StrToIntDef(c.text, -7), -7);
            EXPECT_THROW(StrToInt(c.text), EConvertError);
        }
        if (c.valid64) {
            EXPECT_EQ(v64, c.value64);
            EXPECT_EQ(StrToInt64(c.text), c.value64);
        } else {
            EXPECT_EQ(StrToInt64Def(c.text, -7), -7);
            EXPECT_THROW(StrToInt64(c.text), EConvertError);
        }
    }
}

TEST(SysUtils, StrToIntNamesTheTextInItsError)
{
    try {
        StrToInt("12abc");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12abc' is not a valid integer value");
    }
}

TEST(SysUtils, IntToStrAndIntToHex)
{
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(std::numeric_limits<int64_t>::min()), "-9223372036854775808");

    struct Case {
        int64_t value;
        int digits;
        const char* expected;
    };
    const Case kCases[] = {
        { 255, 4, "00FF" },
        { 0, 0, "0" },
        { 0x1234ABCD, 2, "1234ABCD" },
        { -1, 2, "FFFFFFFF" },
        { -2147483647 - 1, 0, "80000000" },
        { -5000000000LL, 1, "FFFFFFFED5FA0E00" },
        { std::numeric_limits<int64_t>::min(), 0, "8000000000000000" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(IntToHex(c.value, c.digits), c.expected);
    }
}

// ---- Floating point ------------------------------------------------------------------------------------------

TEST(SysUtils, FloatToStrForms)
{
    struct Case {
        double value;
        const char* expected;
    };
    const Case kCases[] = {
        { 15.0, "15" },
        { 23.97, "23.97" },
        { -0.5, "-0.5" },
        { 0.1, "0.1" },
        { 0.1 + 0.2, "0.30000000000000004" },
        { 100, "100" },
        { 1e20, "1E20" },
        { 1e-10, "1E-10" },
        { -1.5e-10, "-1.5E-10" },
        { 1e15, "1E15" },
        { 999999999999999.0, "999999999999999" },
        { 123456789012345678.0, "1.2345678901234568E17" },
        { 0.00001, "0.00001" },
        { 0.000001, "1E-6" },
        { 1.7976931348623157e308, "1.7976931348623157E308" },
        { 5e-324, "5E-324" },
        { 0.0, "0" },
        { -0.0, "0" },
        { kNaN, "NAN" },
        { kInf, "INF" },
        { -kInf, "-INF" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FloatToStr(c.value), c.expected);
    }
}

TEST(SysUtils, FloatToStrReadsBackToTheSameDouble)
{
    std::mt19937_64 random(20240531);
    std::uniform_real_distribution<double> everyday(-1e6, 1e6);
    for (int i = 0; i < 20000; ++i) {
        // Half of the values are arbitrary bit patterns (every magnitude, subnormals included), half the kind
        // of numbers a program prints.
        double value = i % 2 ? std::bit_cast<double>(random()) : everyday(random);
        if (!std::isfinite(value))
            continue;
        const std::string text = FloatToStr(value);
        double back = 0;
        ASSERT_TRUE(TryStrToFloat(text, back)) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(value == 0 ? 0.0 : value)) << text;
    }
}

TEST(SysUtils, StrToFloatTextForms)
{
    struct Case {
        const char* text;
        bool valid;
        double value;
    };
    const Case kCases[] = {
        { "1.5", true, 1.5 },
        { "  -2.5e3\t", true, -2500 },
        { "+.5", true, 0.5 },
        { "5.", true, 5 },
        { "1E5", true, 1e5 },
        { "1e+5", true, 1e5 },
        { "inf", true, kInf },
        { "-INF", true, -kInf },
        { "Infinity", true, kInf },
        { "1e-400", true, 0 },
        { "0.0000000001e-320", true, 0 },
        { "4e-320", true, 4e-320 },
        { "1e400", false, 0 },
        { "-1e400", false, 0 },
        { "1000000e303", false, 0 },
        { "1,5", false, 0 },
        { "", false, 0 },
        { " ", false, 0 },
        { "1e", false, 0 },
        { "0x10", false, 0 },
        { "+-1", false, 0 },
        { "- 1", false, 0 },
        { "1.5x", false, 0 },
        { "1 5", false, 0 },
        { ".", false, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("'") + c.text + "'");
        double value = -99;
        EXPECT_EQ(TryStrToFloat(c.text, value), c.valid);
        if (c.valid) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(StrToFloat(c.text), c.value);
        } else {
            EXPECT_EQ(value, -99);
            EXPECT_EQ(StrToFloatDef(c.text, 7.5), 7.5);
            EXPECT_THROW(StrToFloat(c.text), EConvertError);
        }
    }
    double nan = 0;
    EXPECT_TRUE(TryStrToFloat("NaN", nan));
    EXPECT_TRUE(std::isnan(nan));
    try {
        StrToFloat("1,5");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'1,5' is not a valid floating point value");
    }
}

TEST(SysUtils, FloatTextIgnoresTheProcessLocale)
{
    TCommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no locale with a decimal comma could be set";
    EXPECT_EQ(FloatToStr(23.97), "23.97");
    EXPECT_EQ(FloatToStr(1.5e-10), "1.5E-10");
    EXPECT_EQ(StrToFloat("23.97"), 23.97);
    double value = 0;
    EXPECT_FALSE(TryStrToFloat("23,97", value));
    EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 2), "1,234.50");
    EXPECT_EQ(Format("%.2f %e", 1.25, 2.5), "1.25 2.50000000000000E+000");
}

TEST(SysUtils, FloatToStrFForms)
{
    struct Case {
        double value;
        TFloatFormat format;
        int precision;
        int digits;
        const char* expected;
    };
    const Case kCases[] = {
        { 1234.5678, ffFixed, 15, 2, "1234.57" },
        { 1234.5678, ffNumber, 15, 2, "1,234.57" },
        { -1234567.5, ffNumber, 15, 0, "-1,234,568" },
        { 99.999, ffCurrency, 15, 2, "100.00" },
        { 0.125, ffFixed, 15, 2, "0.13" },
        { -0.001, ffFixed, 15, 2, "0.00" },
        { 1.23456, ffFixed, 3, 4, "1.2300" },
        { 123456.0, ffFixed, 3, 2, "1.23E+5" },
        { 1234.5, ffExponent, 4, 2, "1.235E+03" },
        { -0.00012, ffExponent, 3, 0, "-1.20E-4" },
        { 1e20, ffGeneral, 15, 0, "1E20" },
        { 1234.5, ffGeneral, 3, 0, "1.23E3" },
        { 1234.5, ffGeneral, 3, 2, "1.23E03" },
        { 0.1 + 0.2, ffGeneral, 15, 0, "0.3" },
        { 2.5, ffGeneral, 1, 0, "3" },
        { kNaN, ffFixed, 15, 2, "NAN" },
        { -kInf, ffNumber, 15, 2, "-INF" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), c.expected);
    }
}

// ---- Format ------------------------------------------------------------------------------------------------

TEST(SysUtils, FormatSpecifiers)
{
    struct Case {
        const char* what;
        std::string actual;
        const char* expected;
    };
    int64_t big = -5000000000LL;
    const char letter = 'x';
    const std::string text = "text";
    const std::string_view view = "view";
    const Case kCases[] = {
        { "d", Format("%d", 42), "42" },
        { "width", Format("%5d|", 42), "   42|" },
        { "left", Format("%-5d|", 42), "42   |" },
        { "d precision", Format("%.5d", -42), "-00042" },
        { "d width and precision", Format("%6.3d", 7), "   007" },
        { "star width", Format("%*d|", 5, 42), "   42|" },
        { "star both, left", Format("%-*.*d|", 6, 3, 7), "007   |" },
        { "negative star width", Format("%*d|", -4, 1), "1   |" },
        { "index", Format("%1:s %0:s %s", "a", "b", "c"), "b a b" },
        { "percent", Format("100%%"), "100%" },
        { "lone percent at the end", Format("abc%"), "abc" },
        { "no specifiers", Format("plain"), "plain" },
        { "extra arguments", Format("%d", 1, 2), "1" },
        { "upper-case type", Format("%D %S", 5, "s"), "5 s" },
        { "d unsigned", Format("%d", 7u), "7" },
        { "d lowest", Format("%d", std::numeric_limits<int64_t>::min()), "-9223372036854775808" },
        { "u of -1", Format("%u", -1), "4294967295" },
        { "u of a wide negative", Format("%u", big), "18446744068709551616" },
        { "u largest", Format("%u", std::numeric_limits<uint64_t>::max()), "18446744073709551615" },
        { "x", Format("%x", 255), "FF" },
        { "x precision", Format("%.4x", 255), "00FF" },
        { "x of -1", Format("%x", -1), "FFFFFFFF" },
        { "x of a wide negative", Format("%x", big), "FFFFFFFED5FA0E00" },
        { "e", Format("%e", 1.0), "1.00000000000000E+000" },
        { "e precision", Format("%.3e", -12345.678), "-1.23E+004" },
        { "e zero", Format("%.3e", 0.0), "0.00E+000" },
        { "e tiny", Format("%e", 1e-300), "1.00000000000000E-300" },
        { "f", Format("%f", 3.14159), "3.14" },
        { "f width", Format("%8.3f|", 3.14159), "   3.142|" },
        { "f half up", Format("%.0f %.0f %.0f", 0.5, 2.5, -0.5), "1 3 -1" },
        { "f exact half", Format("%.2f %.1f", 0.125, 0.25), "0.13 0.3" },
        { "f binary below half", Format("%.2f %.2f %.1f", 2.675, 1.005, 0.35), "2.67 1.00 0.3" },
        { "f just below half", Format("%.0f", 0.49999999999999994), "0" },
        { "f carry", Format("%.0f %.1f", 9.5, 9.96), "10 10.0" },
        { "f below the last place", Format("%.2f %.2f %.2f %.2f", 0.004, 0.005, 0.0001, -0.004),
            "0.00 0.01 0.00 0.00" },
        { "f large", Format("%f", 1e20), "100000000000000000000.00" },
        // Every digit of a double's exact value, far past the 17 that identify it.
        { "f huge", Format("%.1f", 1e300),
            "1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375080447864"
            "0437044438328838781769425232353604305756447921847867069828483872009265758037378302337947880900593689"
            "53234970799945081119038967640880074652742780142494579258788820056842838115669472196386865459400540160.0" },
        { "g", Format("%g %g %g", 1e20, 0.1 + 0.2, 23.97), "1E20 0.3 23.97" },
        { "g precision", Format("%.3g", 1234.5), "1.23E3" },
        { "g small", Format("%g %g", 1e-7, 100.0), "1E-7 100" },
        { "n", Format("%n", 1234567.891), "1,234,567.89" },
        { "n negative", Format("%.0n", -1234.5), "-1,235" },
        { "n carry", Format("%n", 999.999), "1,000.00" },
        { "m", Format("%m", 1234.5), "1,234.50" },
        { "non-finite", Format("%f|%6.2e|%g", kNaN, kInf, -kInf), "NAN|   INF|-INF" },
        { "p", Format("%p", reinterpret_cast<const void*>(uintptr_t(0x1234))), "0000000000001234" },
        { "p null", Format("%p", nullptr), "0000000000000000" },
        { "s", Format("%s/%s/%s/%s", "lit", text, view, letter), "lit/text/view/x" },
        { "s precision", Format("%.2s", "abcdef"), "ab" },
        { "s width", Format("%5s|%-5s|", "ab", "ab"), "   ab|ab   |" },
        { "s counts characters", Format("%.2s|%4s|", "äöü", "äö"), "äö|  äö|" },
        { "s null pointer", Format("[%s]", static_cast<const char*>(nullptr)), "[]" },
        { "float types", Format("%f %f", 1.5f, 2.5L), "1.50 2.50" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.actual, c.expected);
    }
}

TEST(SysUtils, FormatRejectsBadSpecifiersAndMissingArguments)
{
    struct Case {
        const char* what;
        std::function<std::string()> call;
        const char* message;
    };
    const Case kCases[] = {
        { "d with a string", [] { return Format("%d", "x"); }, "Format '%d' invalid or incompatible with argument" },
        { "d with a double", [] { return Format("[%d]", 1.5); },
            "Format '[%d]' invalid or incompatible with argument" },
        { "x with a double", [] { return Format("%x", 1.5); }, "Format '%x' invalid or incompatible with argument" },
        { "f with an integer", [] { return Format("%f", 1); }, "Format '%f' invalid or incompatible with argument" },
        { "f with a string", [] { return Format("%f", "1"); }, "Format '%f' invalid or incompatible with argument" },
        { "s with a number", [] { return Format("%s", 5); }, "Format '%s' invalid or incompatible with argument" },
        { "s with a double", [] { return Format("%s", 5.0); }, "Format '%s' invalid or incompatible with argument" },
        { "p with an integer", [] { return Format("%p", 5); }, "Format '%p' invalid or incompatible with argument" },
        { "star with a string", [] { return Format("%*d", "5", 1); },
            "Format '%*d' invalid or incompatible with argument" },
        { "unknown type", [] { return Format("%z", 1); }, "Format '%z' invalid or incompatible with argument" },
        { "no type", [] { return Format("%5", 1); }, "Format '%5' invalid or incompatible with argument" },
        { "no precision digits", [] { return Format("%.d", 1); },
            "Format '%.d' invalid or incompatible with argument" },
        { "huge width", [] { return Format("%99999999999d", 1); },
            "Format '%99999999999d' invalid or incompatible with argument" },
        { "second missing", [] { return Format("%d %s", 1); }, "No argument for format '%s'" },
        { "none at all", [] { return Format("%d"); }, "No argument for format '%d'" },
        { "index past the end", [] { return Format("%5:d", 1); }, "No argument for format '%5:d'" },
        { "star missing", [] { return Format("%*d"); }, "No argument for format '%*d'" },
        { "value after star missing", [] { return Format("%*d", 5); }, "No argument for format '%*d'" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        try {
            std::string result = c.call();
            ADD_FAILURE() << "no exception, got '" << result << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

// ---- Strings -----------------------------------------------------------------------------------------------

TEST(SysUtils, TrimDropsBlanksAndControlCharacters)
{
    const std::string text = " \t\x01"
                             "a b\r\n\x1f";
    EXPECT_EQ(Trim(text), "a b");
    EXPECT_EQ(TrimLeft(text), "a b\r\n\x1f");
    EXPECT_EQ(TrimRight(text),
        " \t\x01"
        "a b");
    EXPECT_EQ(Trim(" \n\t "), "");
    EXPECT_EQ(Trim(""), "");
    // DEL and UTF-8 bytes (a no-break space here) are above ' ' and stay.
    EXPECT_EQ(Trim("\x7f"
                   "a\xC2\xA0"),
        "\x7f"
        "a\xC2\xA0");
}

TEST(SysUtils, CaseConversions)
{
    EXPECT_EQ(UpperCase("aBc-z{ä}"), "ABC-Z{ä}");
    EXPECT_EQ(LowerCase("AbC-Z[Ä]"), "abc-z[Ä]");
    EXPECT_EQ(AnsiUpperCase("äöü ÿ straße ğłž αβγς абвё"), "ÄÖÜ Ÿ STRAßE ĞŁŽ ΑΒΓΣ АБВЁ");
    EXPECT_EQ(AnsiLowerCase("ÀÉÎ Ÿ ĞŁŽ ΑΒΓ АБВЁ"), "àéî ÿ ğłž αβγ абвё");
    // No simple same-length pair: left alone. So are the signs that sit among the letters.
    EXPECT_EQ(AnsiLowerCase("İ ×"), "İ ×");
    EXPECT_EQ(AnsiUpperCase("ı ÷ ß"), "ı ÷ ß");
    // Invalid UTF-8 passes through byte for byte.
    const std::string invalid = "a\xC3"
                                "\xFF"
                                "b\xC3";
    EXPECT_EQ(AnsiUpperCase(invalid),
        "A\xC3"
        "\xFF"
        "B\xC3");
    EXPECT_EQ(AnsiLowerCase("\xC1\x81"), "\xC1\x81"); // An overlong 'A'.
}

TEST(SysUtils, PosPosExAndCopyEdges)
{
    struct PosCase {
        const char* sub;
        const char* s;
        int offset;
        int expected;
    };
    const PosCase kPos[] = {
        { "b", "abcb", 1, 2 },
        { "b", "abcb", 3, 4 },
        { "b", "abcb", 5, 0 },
        { "b", "abcb", 0, 0 },
        { "", "abc", 1, 0 },
        { "abcd", "abc", 1, 0 },
        { "abc", "abc", 1, 1 },
        { "x", "", 1, 0 },
    };
    for (const PosCase& c : kPos) {
        SCOPED_TRACE(std::string(c.sub) + " in " + c.s + " from " + std::to_string(c.offset));
        EXPECT_EQ(PosEx(c.sub, c.s, c.offset), c.expected);
        if (c.offset == 1) {
            EXPECT_EQ(Pos(c.sub, c.s), c.expected);
        }
    }

    struct CopyCase {
        int index;
        int count;
        const char* expected;
    };
    const CopyCase kCopy[] = {
        { 1, 3, "abc" },
        { 2, 2, "bc" },
        { 4, 10, "def" },
        { 0, 2, "ab" },
        { -5, 1, "a" },
        { 6, 1, "f" },
        { 7, 1, "" },
        { 2, 0, "" },
        { 2, -1, "" },
        { 1, std::numeric_limits<int>::max(), "abcdef" },
    };
    for (const CopyCase& c : kCopy) {
        SCOPED_TRACE(std::to_string(c.index) + "," + std::to_string(c.count));
        EXPECT_EQ(Copy("abcdef", c.index, c.count), c.expected);
    }
}

TEST(SysUtils, Comparisons)
{
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_EQ(CompareText("Hello", "hELLO"), 0);
    EXPECT_GT(CompareText("abc", "AB"), 0);
    EXPECT_LT(CompareText("", "a"), 0);
    // Letters fold to upper case, so '_' (0x5F) sorts after every letter.
    EXPECT_GT(CompareText("a_", "aa"), 0);
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText("Hello", "Hell"));
    EXPECT_GT(CompareStr("a", "B"), 0);
    EXPECT_LT(CompareStr("ab", "abc"), 0);
    EXPECT_EQ(CompareStr("ä", "ä"), 0);
    EXPECT_TRUE(SameStr("x", "x"));
    EXPECT_FALSE(SameStr("x", "X"));
    EXPECT_EQ(AnsiCompareText("ABC", "abc"), 0);
    EXPECT_GT(AnsiCompareStr("abc", "ABC"), 0);
}

TEST(SysUtils, StringReplaceFlags)
{
    struct Case {
        const char* s;
        const char* oldPattern;
        const char* newPattern;
        TReplaceFlags flags;
        const char* expected;
    };
    const Case kCases[] = {
        { "a-b-c", "-", "+", {}, "a+b-c" },
        { "a-b-c", "-", "+", { rfReplaceAll }, "a+b+c" },
        { "Hello HELLO", "hello", "x", { rfIgnoreCase }, "x HELLO" },
        { "Hello HELLO", "hello", "x", { rfReplaceAll, rfIgnoreCase }, "x x" },
        { "Hello HELLO", "hello", "x", { rfReplaceAll }, "Hello HELLO" },
        { "Ärger ärger", "ärger", "x", { rfReplaceAll, rfIgnoreCase }, "x x" },
        { "aaa", "aa", "b", { rfReplaceAll }, "ba" },
        { "aa", "a", "aa", { rfReplaceAll }, "aaaa" },
        { "abc", "", "x", { rfReplaceAll }, "abc" },
        { "abc", "abc", "", {}, "" },
        { "", "a", "b", {}, "" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.s) + " / " + c.oldPattern);
        EXPECT_EQ(StringReplace(c.s, c.oldPattern, c.newPattern, c.flags), c.expected);
    }
}

TEST(SysUtils, QuotedStrAndBoolToStr)
{
    EXPECT_EQ(QuotedStr("It's"), "'It''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(QuotedStr("''"), "''''''");
    EXPECT_EQ(BoolToStr(true), "-1");
    EXPECT_EQ(BoolToStr(false), "0");
    EXPECT_EQ(BoolToStr(true, true), "True");
    EXPECT_EQ(BoolToStr(false, true), "False");
}

// ---- TSet --------------------------------------------------------------------------------------------------

namespace {
enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, fsStrikeOut>;
} // namespace

TEST(TSet, Operations)
{
    TFontStyles styles { fsBold, fsItalic };
    EXPECT_TRUE(styles.Contains(fsBold));
    EXPECT_TRUE(styles.Contains(fsItalic));
    EXPECT_FALSE(styles.Contains(fsUnderline));
    EXPECT_FALSE(styles.Empty());
    EXPECT_TRUE(TFontStyles().Empty());

    styles.Include(fsUnderline).Exclude(fsBold);
    EXPECT_EQ(styles, (TFontStyles { fsItalic, fsUnderline }));
    styles.Exclude(fsBold); // Excluding an absent value changes nothing.
    EXPECT_EQ(styles, (TFontStyles { fsItalic, fsUnderline }));

    const TFontStyles a { fsBold, fsItalic };
    const TFontStyles b { fsItalic, fsStrikeOut };
    EXPECT_EQ(a + b, (TFontStyles { fsBold, fsItalic, fsStrikeOut }));
    EXPECT_EQ(a - b, TFontStyles { fsBold });
    EXPECT_EQ(a * b, TFontStyles { fsItalic });
    EXPECT_NE(a, b);
    EXPECT_TRUE(TFontStyles { fsItalic } <= a);
    EXPECT_TRUE(a <= a);
    EXPECT_TRUE(TFontStyles() <= a);
    EXPECT_FALSE(a <= b);

    TFontStyles c = a;
    c += b;
    EXPECT_EQ(c, a + b);
    c -= a;
    EXPECT_EQ(c, TFontStyles { fsStrikeOut });
}

TEST(TSet, WordBoundariesAndConstantEvaluation)
{
    // Values on both sides of each 64-bit word of a 0..255 set.
    TSet<int> wide { 0, 63, 64, 127, 128, 255 };
    for (int v : { 0, 63, 64, 127, 128, 255 })
        EXPECT_TRUE(wide.Contains(v)) << v;
    for (int v : { 1, 62, 65, 126, 129, 254, -1, 256 })
        EXPECT_FALSE(wide.Contains(v)) << v;
    EXPECT_TRUE((wide - TSet<int> { 0, 63, 64, 127, 128, 255 }).Empty());

    constexpr TFontStyles kBoldItalic = TFontStyles { fsBold } + TFontStyles { fsItalic };
    static_assert(kBoldItalic.Contains(fsItalic) && !kBoldItalic.Contains(fsStrikeOut));
}

TEST(TSetDeathTest, IncludingAValueOutsideTheRangeStops)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TFontStyles styles;
    EXPECT_DEATH(styles.Include(static_cast<TFontStyle>(9)), "outside 0..3");
}
