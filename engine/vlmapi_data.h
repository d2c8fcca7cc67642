/* data exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_DATA_H
#define VLMAPI_DATA_H

#include "engine/vlmapi.h"

#endif
