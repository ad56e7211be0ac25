#include "base/Date.h"

#include <clocale>
#include <gtest/gtest.h>

namespace nimb {
namespace {

TEST(Date, storedAsWholeSecondsTowardZero) {
    EXPECT_EQ(storedDate(Date{1700000000.9}), "1700000000");
    EXPECT_EQ(storedDate(Date{-1.9}), "-1");
    EXPECT_EQ(storedDate(Date{-0.5}), "0");
    EXPECT_EQ(storedDate(Date{0}), "0");
    EXPECT_EQ(storedDate(Date{1e20}), "100000000000000000000");
    EXPECT_EQ(storedDate(Date{std::numeric_limits<double>::infinity()}), "0");
}

TEST(Date, readsWhatStrtodReadsWhole) {
    EXPECT_EQ(readStoredDate("1700000000"), Date{1700000000});
    EXPECT_EQ(readStoredDate("-5"), Date{-5});
    EXPECT_EQ(readStoredDate("+1.5e3"), Date{1500});
    EXPECT_EQ(readStoredDate("12.75"), Date{12.75});
    for (const char* bad : {"", " 12", "\t12", "12 ", "12x", "x", "nan", "inf", "1e999"})
        EXPECT_EQ(readStoredDate(bad), std::nullopt) << '"' << bad << '"';
    EXPECT_EQ(readStoredDate(std::string_view("12\0 34", 6)), std::nullopt);
}

TEST(Date, readingIgnoresTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    bool found = false;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            found = true;
            break;
        }
    }
    if (!found) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(readStoredDate("12.5"), Date{12.5});
    EXPECT_EQ(readStoredDate("12,5"), std::nullopt);
    EXPECT_EQ(storedDate(Date{-12345.6}), "-12345");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
} // namespace nimb
