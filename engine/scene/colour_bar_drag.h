#pragma once
// The colour bar's drags (action modes 19 and 20): the mouse height on the bar
// sets the colour scale or moves a colour stop.
namespace vlm {

// Installs the colour drag hooks of the input handlers.
void installColourBarDragHooks();

}  // namespace vlm
