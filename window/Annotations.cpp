// The annotations asked for and the ones the system took.
#include "window/Annotations.h"

#include <algorithm>

namespace tintelo {

void Annotated::Annotate(AnnotationService& service, std::span<const AnnotationService::Control> controls) {
  for (const AnnotationService::Control control : controls) {
    for (const AccessibleProperty property : {AccessibleProperty::Name, AccessibleProperty::Value}) {
      if (service.Annotate(control, property)) made_.push_back(Made{control, property});
    }
  }
}

void Annotated::Clear(AnnotationService& service) {
  for (const Made& made : made_) service.Clear(made.control, made.property);
  made_.clear();
}

bool Annotated::Has(AnnotationService::Control control, AccessibleProperty property) const noexcept {
  return std::any_of(made_.begin(), made_.end(),
                     [&](const Made& made) { return made.control == control && made.property == property; });
}

}  // namespace tintelo
