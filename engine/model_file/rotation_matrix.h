#pragma once
// The model's rotation as the model file stores it: a 3x3 matrix, row by
// row, of the view's rotations about X, then Y, then Z (as the frame turns
// the model).
#include <array>

namespace vlm {

std::array<float, 9> rotationMatrix(const float degrees[3]);
// The angles of a rotation matrix; false (angles untouched) for a matrix
// that is no rotation, as the nine zeros of a file without them.
bool rotationAngles(const std::array<float, 9>& matrix, float degrees[3]);

}  // namespace vlm
