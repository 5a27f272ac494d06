// The engine's private messages live with the skin data, the layer both the
// frames and the skinned controls stand on.
#pragma once

#include "skin/data/SkinMessages.h"
