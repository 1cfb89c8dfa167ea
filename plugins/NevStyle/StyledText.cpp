// Placeholder until the shared styled output lands.
#include "plugins/NevStyle/StyledText.h"
