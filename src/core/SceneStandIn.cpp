#include "core/SceneStandIn.h"

SceneStandIn::SceneStandIn(int32_t fadeInMs, int32_t fadeOutMs) {
    fadeInDuration = fadeInMs;
    fadeOutDuration = fadeOutMs;
}
