// Whether two colours can be read together: WCAG 2.2's contrast ratio, its verdicts, the
// lines the window shows them in, and which colour the current one is compared with.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "colour/Colour.h"

namespace tintelo {

struct ContrastVerdicts {
  double ratio = 1;  // unrounded, 1 to 21
  bool text = false;         // AA: 4.5
  bool textEnhanced = false; // AAA: 7
  bool large = false;        // large text, AA: 3
  bool largeEnhanced = false;// large text, AAA: 4.5
  bool graphics = false;     // user-interface components and graphics: 3
};

// The verdicts compare the unrounded ratio, as WCAG's own text asks: 4.49995:1 fails 4.5:1.
[[nodiscard]] ContrastVerdicts Verdicts(ColourValue a, ColourValue b);

// The three lines, for the reference in its HTML notation, e.g.
// "Contraste avec #FFFFFF : 4,49:1", "Texte : AA non, AAA non",
// "Grand texte : AA oui, AAA non · Graphiques : oui", joined by "\r\n". The ratio is cut to
// two decimals, never rounded up, so it never shows 4,50 for a pair that fails 4.5.
[[nodiscard]] std::string ContrastLines(ColourValue current, ColourValue reference);

// What the current colour is compared with: the pinned reference, otherwise the newest
// colour taken that differs from it, otherwise white.
[[nodiscard]] ColourValue ContrastReference(std::optional<ColourValue> pinned,
                                            std::span<const ColourValue> takenNewestFirst, ColourValue current);

}  // namespace tintelo
