#pragma once
// The pixel format of the 3D view: RGBA with 24 colour bits, alpha, 16 depth
// bits, double buffered, stereo when asked, compatibility profile.
#include <QSurfaceFormat>

namespace vlm::render {

QSurfaceFormat wantedSurfaceFormat(bool stereo);

// Whether a created context gives what was asked. Some drivers (llvmpipe among
// them) silently hand out a context without stereo and even without depth or
// alpha buffers when asked for stereo, so the result must be checked.
bool formatSatisfies(const QSurfaceFormat& wanted, const QSurfaceFormat& got);

// Colour bits of a format (red + green + blue), the window colour depth.
int colorBits(const QSurfaceFormat& format);

}  // namespace vlm::render
