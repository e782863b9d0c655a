// What the stacked display controls share: repainting the layers a control
// overlaps, the mouse hooks a zoom panel binds, and the small conversions from
// widget values to the imaging library's.
#pragma once

#include <cstdint>
#include <functional>

#include <QColor>
#include <Qt>

class QObject;
class QWidget;

// Repaints the parent under `control` and every visible sibling widget whose
// bounds meet it, so transparent layers are composed again over what lies
// beneath. Nothing for a hidden control or one without a parent.
void InvalidateOthers(QWidget* control);

// The imaging library's colour form, a Windows RGB value 0x00BBGGRR.
uint32_t ColorRef(const QColor& color);
inline constexpr uint32_t ColorRefWhite = 0xFFFFFF;

// Real to integer: toward zero, saturated at the 32-bit range, NaN gives 0.
int32_t TruncToInt(double value);

// A hook a zoom panel binds to a child's mouse: the child calls it only while
// nothing is connected to its own matching mouse signal. `Owner` tells a panel
// whether the hook is still its own when it unbinds.
template <typename Buttons>
struct TMouseHook {
  using Handler = std::function<void(QWidget* sender, Buttons buttons, Qt::KeyboardModifiers shift,
                                     int x, int y)>;
  const QObject* Owner = nullptr;
  Handler Call;

  explicit operator bool() const { return static_cast<bool>(Call); }
  void Clear() {
    Owner = nullptr;
    Call = nullptr;
  }
};

// Press and release name the button that changed; a move carries all held ones.
using TMouseButtonHook = TMouseHook<Qt::MouseButton>;
using TMouseMoveHook = TMouseHook<Qt::MouseButtons>;
