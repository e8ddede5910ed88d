// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device models and operations the pages use, in one include.

#include "keyboard/keyboard_device.h"
#include "keyboard/keyboard_model.h"
#include "mouse/colour_presets.h"
#include "mouse/dpi.h"
#include "mouse/mouse_device.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_device.h"
#include "mousepad/pad_model.h"
