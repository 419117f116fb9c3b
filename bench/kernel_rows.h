#pragma once
// The rows of the bare kernels against OpenCV, and a plain copy as the ceiling.

void lcAddKernelBenchRows();
