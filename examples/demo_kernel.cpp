#include "Demos.h"

void demoKernel() {}
