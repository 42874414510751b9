#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <set>
#include <string>
#include <utility>

#include "tests/CaseName.h"
#include "window/Annotations.h"

namespace tintelo {
namespace {

using Control = AnnotationService::Control;
using Annotation = std::pair<Control, AccessibleProperty>;

// The annotation service, refusing the properties a system does not support.
class FakeAnnotationService final : public AnnotationService {
 public:
  bool Annotate(Control control, AccessibleProperty property) override {
    if (unsupported.count(property) != 0) return false;
    taken.insert({control, property});
    return true;
  }
  void Clear(Control control, AccessibleProperty property) override {
    if (taken.erase({control, property}) == 0) ++clearedUntaken;
  }

  std::set<AccessibleProperty> unsupported;
  std::set<Annotation> taken;
  int clearedUntaken = 0;
};

constexpr std::array<Control, 4> kControls{0x100, 0x200, 0x300, 0x400};  // the swatch and three sliders

struct RefusalCase {
  const char* name;
  std::set<AccessibleProperty> unsupported;
  std::set<AccessibleProperty> kept;  // on every control
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class AnnotationRefusals : public testing::TestWithParam<RefusalCase> {};

// A refused value must not take the name with it, and the way out takes back exactly
// what the system took: a screen reader that finds the annotations gone finds the
// standard objects' own again.
TEST_P(AnnotationRefusals, KeepEveryAnnotationTheSystemTookAndClearOnlyThose) {
  FakeAnnotationService service;
  service.unsupported = GetParam().unsupported;
  Annotated annotated;

  annotated.Annotate(service, kControls);

  std::set<Annotation> expected;
  for (const Control control : kControls) {
    for (const AccessibleProperty p : GetParam().kept) expected.insert({control, p});
  }
  EXPECT_EQ(service.taken, expected);
  EXPECT_EQ(annotated.Any(), !expected.empty());
  for (const Control control : kControls) {
    for (const AccessibleProperty p : {AccessibleProperty::Name, AccessibleProperty::Value}) {
      EXPECT_EQ(annotated.Has(control, p), expected.count({control, p}) != 0);
    }
  }

  annotated.Clear(service);
  EXPECT_TRUE(service.taken.empty());
  EXPECT_EQ(service.clearedUntaken, 0);
  EXPECT_FALSE(annotated.Any());
}

INSTANTIATE_TEST_SUITE_P(
    Systems, AnnotationRefusals,
    testing::Values(RefusalCase{"TakesBoth", {}, {AccessibleProperty::Name, AccessibleProperty::Value}},
                    RefusalCase{"RefusesValues", {AccessibleProperty::Value}, {AccessibleProperty::Name}},
                    RefusalCase{"RefusesNames", {AccessibleProperty::Name}, {AccessibleProperty::Value}},
                    // Wine 8.0 answers E_NOTIMPL to every call.
                    RefusalCase{"RefusesAll", {AccessibleProperty::Name, AccessibleProperty::Value}, {}}),
    testing_support::CaseName<RefusalCase>);

}  // namespace
}  // namespace tintelo
