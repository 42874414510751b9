// UTF-8 (the core's texts) to UTF-16 (the controls') and back.
#pragma once

#include <string>
#include <string_view>

namespace tintelo::win {

[[nodiscard]] std::wstring Widen(std::string_view text);
[[nodiscard]] std::string Narrow(std::wstring_view text);

}  // namespace tintelo::win
