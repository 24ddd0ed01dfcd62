#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <Qt>

// Key codes as the control's events report them: the platform-neutral virtual key
// numbers hosts of this control know (Tab 9, arrows 37..40, letters as their upper-case
// character), and Qt's own key value for keys outside that table.
namespace VirtualKeys {

constexpr int VK_TAB = 9;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;

[[nodiscard]] PAGOLINE_EXPORT int FromQtKey(int qtKey);
// 1 for Shift, 2 for Ctrl, 4 for Alt, added.
[[nodiscard]] PAGOLINE_EXPORT short ShiftState(Qt::KeyboardModifiers modifiers);

} // namespace VirtualKeys
