// What screen readers are told beyond the standard accessible objects (a swatch with no
// name, a scroll bar whose value is a percentage of its range), by dynamic annotation:
// which annotations are asked for, and which the system took.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tintelo {

enum class AccessibleProperty { Name, Value };

// The system's annotation service (IAccPropServices on Windows).
class AnnotationService {
 public:
  using Control = std::uintptr_t;

  // Annotates one property of `control`; false when the system refuses. One property a
  // call: Windows refuses a call whole when any one of its properties is not supported
  // (E_INVALIDARG, IAccPropServices::SetHwndPropServer page).
  [[nodiscard]] virtual bool Annotate(Control control, AccessibleProperty property) = 0;
  virtual void Clear(Control control, AccessibleProperty property) = 0;

 protected:
  ~AnnotationService() = default;
};

class Annotated {
 public:
  // Gives each control a name and a value, each by a call of its own, so that a value
  // the system refuses does not take the name with it.
  void Annotate(AnnotationService& service, std::span<const AnnotationService::Control> controls);
  // Takes back every annotation the system took, and no other.
  void Clear(AnnotationService& service);

  [[nodiscard]] bool Any() const noexcept { return !made_.empty(); }
  [[nodiscard]] bool Has(AnnotationService::Control control, AccessibleProperty property) const noexcept;

 private:
  struct Made {
    AnnotationService::Control control;
    AccessibleProperty property;
  };
  std::vector<Made> made_;
};

}  // namespace tintelo
