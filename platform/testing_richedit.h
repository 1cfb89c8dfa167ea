// Placeholder: test hooks of this area of the layer.
#pragma once

#include "platform/win32.h"
