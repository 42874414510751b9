// WCAG 2.2's contrast, as the window says it.
#include "colour/Wcag.h"

#include <algorithm>
#include <cmath>

#include "colour/Contrast.h"
#include "colour/Module1.h"

namespace tintelo {

ContrastVerdicts Verdicts(ColourValue a, ColourValue b) {
  ContrastVerdicts v;
  v.ratio = ContrastRatio(a, b);
  v.text = v.ratio >= 4.5;
  v.textEnhanced = v.ratio >= 7;
  v.large = v.ratio >= 3;
  v.largeEnhanced = v.ratio >= 4.5;
  v.graphics = v.ratio >= 3;
  return v;
}

std::string ContrastLines(ColourValue current, ColourValue reference) {
  const ContrastVerdicts v = Verdicts(current, reference);
  const auto yes = [](bool passes) { return passes ? "oui" : "non"; };
  // Hundredths, cut: 4.49995 is 449.
  const auto hundredths = static_cast<int>(std::floor(v.ratio * 100));
  const std::string cents = std::to_string(hundredths % 100);
  const std::string ratio = std::to_string(hundredths / 100) + ',' + (cents.size() < 2 ? "0" : "") + cents;
  const std::string html = fnHtmlColour(static_cast<Component>(reference & 0xFF),
                                        static_cast<Component>((reference >> 8) & 0xFF),
                                        static_cast<Component>((reference >> 16) & 0xFF));
  return "Contraste avec " + html + " : " + ratio + ":1\r\nTexte : AA " + yes(v.text) + ", AAA " +
         yes(v.textEnhanced) + "\r\nGrand texte : AA " + yes(v.large) + ", AAA " + yes(v.largeEnhanced) +
         " \u00B7 Graphiques : " + yes(v.graphics);
}

ColourValue ContrastReference(std::optional<ColourValue> pinned, std::span<const ColourValue> takenNewestFirst,
                              ColourValue current) {
  if (pinned) return *pinned;
  const auto other =
      std::find_if(takenNewestFirst.begin(), takenNewestFirst.end(), [current](ColourValue c) { return c != current; });
  return other != takenNewestFirst.end() ? *other : ComposeColour(255, 255, 255);
}

}  // namespace tintelo
