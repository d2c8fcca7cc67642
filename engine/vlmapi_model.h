/* model exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_MODEL_H
#define VLMAPI_MODEL_H

#include "engine/vlmapi.h"

#endif
