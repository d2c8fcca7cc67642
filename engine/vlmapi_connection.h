/* connection exports of the engine API; included by engine/vlmapi.h. */
#ifndef VLMAPI_CONNECTION_H
#define VLMAPI_CONNECTION_H

#include "engine/vlmapi.h"

#endif
