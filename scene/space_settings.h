#pragma once
// The space settings live with the data model, which the colour schemes and the
// model file share; the scene reads them from there.
#include "model/space_settings.h"
