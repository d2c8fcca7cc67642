/* selection exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_SELECTION_H
#define VLMAPI_SELECTION_H

#include "engine/vlmapi.h"

#endif
