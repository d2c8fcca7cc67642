/* Reads an association's pass record as a C caller of the engine library does. */
#include "engine/support/pass_reader.h"

#include "engine/vlmapi.h"

int vlmTestReadPass(int attribute, int sample, float* value, float* displayMin, float* displayMax, int* field) {
  const vlm_pass* pass = (const vlm_pass*)vlm_AttributeToPass(attribute);
  if (!pass || !pass->values) return 0;
  *value = pass->values[sample];
  *displayMin = pass->displayMin;
  *displayMax = pass->displayMax;
  *field = pass->field;
  return 1;
}
