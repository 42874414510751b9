// The annotations asked for and the ones the system took.
#include "window/Annotations.h"

#include <algorithm>
#include <array>

namespace tintelo {

void Annotated::Annotate(AnnotationService& service, std::span<const AnnotationService::Control> controls) {
  for (const AnnotationService::Control control : controls) {
    for (const AccessibleProperty property : {AccessibleProperty::Name, AccessibleProperty::Value}) {
      const std::array one{property};
      if (service.Annotate(control, one)) made_.push_back(Made{control, property});
    }
  }
}

void Annotated::Clear(AnnotationService& service) {
  for (const Made& made : made_) {
    const std::array one{made.property};
    service.Clear(made.control, one);
  }
  made_.clear();
}

bool Annotated::Has(AnnotationService::Control control, AccessibleProperty property) const noexcept {
  return std::any_of(made_.begin(), made_.end(),
                     [&](const Made& made) { return made.control == control && made.property == property; });
}

}  // namespace tintelo
