#include "engine/calculator_link.h"

namespace vlm {

CalculatorLink& calculatorLink() {
  static CalculatorLink link;
  return link;
}

}  // namespace vlm
