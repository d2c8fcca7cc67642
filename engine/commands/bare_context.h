#pragma once
// A plain OpenGL context on the host's 3D window, for the engine frame before
// the full renderer takes over the window commands.
namespace vlm {
void registerBareContextHandlers();
}
