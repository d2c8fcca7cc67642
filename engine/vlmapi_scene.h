/* scene exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_SCENE_H
#define VLMAPI_SCENE_H

#include "engine/vlmapi.h"

#endif
