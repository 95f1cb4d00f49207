#include "Demos.h"

void demoTurbo() {}
