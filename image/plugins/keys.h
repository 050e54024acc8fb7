#pragma once
// The plug-in viewer shares section "Susie Rondix" with the third viewer.
#include "image/viewer3/keys.h"

namespace plugins {
namespace keys = viewer3::keys;
} // namespace plugins
