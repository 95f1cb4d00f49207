#include "Demos.h"

void demoTriangle() {}
