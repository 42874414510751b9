// Names and values for screen readers where the standard accessible objects have none or
// a wrong one: the swatch's name and colour, each slider's letter and component from 0
// to 255 (a scroll bar's own value is a percentage of its range, which here runs from
// -255 to 0, and its name is "Vertical" unless a label names it). They are given by
// dynamic annotation, set up when an accessibility client first asks the window for an
// object: until then nothing of COM is loaded.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "window/Annotations.h"

namespace tintelo::win {

// What the window answers for one of its controls; an empty text leaves the standard
// object's own.
class AccessibleText {
 public:
  [[nodiscard]] virtual std::wstring AccessibleName(HWND control) const = 0;
  [[nodiscard]] virtual std::wstring AccessibleValue(HWND control) const = 0;

 protected:
  ~AccessibleText() = default;
};

class Annotations {
 public:
  Annotations() = default;
  ~Annotations() { Clear(); }
  Annotations(const Annotations&) = delete;
  Annotations& operator=(const Annotations&) = delete;

  // Called on every WM_GETOBJECT the window or its controls receive; the first one
  // annotates `controls` (their window handles), whose names and values then come from
  // `source` each time a client reads them.
  void OnObjectRequested(std::span<const AnnotationService::Control> controls, const AccessibleText& source);
  // True when the system took that annotation: only then is a change of it worth
  // announcing.
  [[nodiscard]] bool Has(HWND control, AccessibleProperty property) const {
    return annotated_.Has(reinterpret_cast<AnnotationService::Control>(control), property);
  }
  // Removes the annotations, before the controls go.
  void Clear();

 private:
  bool tried_ = false;
  Annotated annotated_;
};

}  // namespace tintelo::win
