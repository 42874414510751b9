#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "colour/Wcag.h"
#include "tests/CaseName.h"

namespace tintelo {
namespace {

// Against white, the pairs on either side of WCAG's thresholds that the issue names: the
// ratio is cut, never rounded up, and the verdicts compare it unrounded.
struct PairCase {
  const char* name;
  ColourValue current;
  ColourValue reference;
  const char* lines;
};

void PrintTo(const PairCase& c, std::ostream* os) { *os << c.name; }

class ContrastPairs : public testing::TestWithParam<PairCase> {};

TEST_P(ContrastPairs, SayTheRatioCutAndWcagsVerdicts) {
  EXPECT_EQ(ContrastLines(GetParam().current, GetParam().reference), GetParam().lines);
}

constexpr ColourValue kWhite = ComposeColour(255, 255, 255);

INSTANTIATE_TEST_SUITE_P(
    Pairs, ContrastPairs,
    testing::Values(
        // 4.478: fails 4.5.
        PairCase{"Grey77", ComposeColour(0x77, 0x77, 0x77), kWhite,
                 "Contraste avec #FFFFFF : 4,47:1\r\nTexte : AA non, AAA non\r\n"
                 "Grand texte : AA oui, AAA non \u00B7 Graphiques : oui"},
        // 4.542: passes.
        PairCase{"Grey76", ComposeColour(0x76, 0x76, 0x76), kWhite,
                 "Contraste avec #FFFFFF : 4,54:1\r\nTexte : AA oui, AAA non\r\n"
                 "Grand texte : AA oui, AAA oui \u00B7 Graphiques : oui"},
        // 4.49995: shown 4,49 and failing, where rounding would show a pass.
        PairCase{"Teal008580", ComposeColour(0x00, 0x85, 0x80), kWhite,
                 "Contraste avec #FFFFFF : 4,49:1\r\nTexte : AA non, AAA non\r\n"
                 "Grand texte : AA oui, AAA non \u00B7 Graphiques : oui"},
        // The reference may be the darker one.
        PairCase{"WhiteOnBlack", kWhite, ComposeColour(0, 0, 0),
                 "Contraste avec #000000 : 21,00:1\r\nTexte : AA oui, AAA oui\r\n"
                 "Grand texte : AA oui, AAA oui \u00B7 Graphiques : oui"},
        PairCase{"Itself", ComposeColour(0x12, 0x34, 0x56), ComposeColour(0x12, 0x34, 0x56),
                 "Contraste avec #123456 : 1,00:1\r\nTexte : AA non, AAA non\r\n"
                 "Grand texte : AA non, AAA non \u00B7 Graphiques : non"}),
    testing_support::CaseName<PairCase>);

// The reference: the pinned colour; else the newest taken that is not the current one;
// else white.
TEST(ContrastReference, IsThePinnedThenTheNewestOtherThenWhite) {
  const std::vector<ColourValue> taken{0x000011, 0x000022, 0x000033};
  EXPECT_EQ(ContrastReference(0x445566, taken, 0x000011), 0x445566);
  EXPECT_EQ(ContrastReference(std::nullopt, taken, 0x000011), 0x000022);
  EXPECT_EQ(ContrastReference(std::nullopt, taken, 0x000099), 0x000011);
  EXPECT_EQ(ContrastReference(std::nullopt, std::vector<ColourValue>{0x000011}, 0x000011), kWhite);
  EXPECT_EQ(ContrastReference(std::nullopt, {}, 0x000011), kWhite);
}

}  // namespace
}  // namespace tintelo
