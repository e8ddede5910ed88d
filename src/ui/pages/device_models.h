#pragma once
// The device models and operations as the Qt side includes them. Their records have members
// named "slots", which Qt defines as a keyword macro; the macro is lifted while they are read,
// so the order of includes does not matter.

#pragma push_macro("slots")
#undef slots
#include "keyboard/keyboard_device.h"
#include "keyboard/keyboard_model.h"
#include "mouse/colour_presets.h"
#include "mouse/dpi.h"
#include "mouse/mouse_device.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_device.h"
#include "mousepad/pad_model.h"
#pragma pop_macro("slots")
