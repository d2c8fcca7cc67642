#pragma once
// The 18 x 18 toolbar images, drawn by the program (image index as in the
// toolbar's bitmap: 0 Open ... 10-12 the legend states, 13 water, 14 init).
#include <QIcon>

namespace vlm::host {

QIcon toolbarImage(int index);

}  // namespace vlm::host
