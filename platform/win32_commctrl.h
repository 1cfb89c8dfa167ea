// Placeholder: filled in by its area of the layer.
#pragma once

#include "platform/win32_window.h"
