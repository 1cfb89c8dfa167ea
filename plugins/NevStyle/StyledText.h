// Placeholder until the shared styled output lands.
#pragma once
