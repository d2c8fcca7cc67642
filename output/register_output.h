#pragma once
// The engine-thread handlers of the picture and texture commands.
namespace vlm {
void registerOutputHandlers();
}
