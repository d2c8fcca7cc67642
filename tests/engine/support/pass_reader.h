/* A C reader of the exported pass record, for the tests of its layout. */
#ifndef VLM_TEST_PASS_READER_H
#define VLM_TEST_PASS_READER_H

#ifdef __cplusplus
extern "C" {
#endif

/* The normalised value of `sample`, the display range and the field of the
   pass of `attribute`, read through vlm_pass; 0 when there is none. */
int vlmTestReadPass(int attribute, int sample, float* value, float* displayMin, float* displayMax, int* field);

#ifdef __cplusplus
}
#endif

#endif
