#ifndef ORV_EXAMPLES_DEMOS_H
#define ORV_EXAMPLES_DEMOS_H

// Each demo shows one subsystem of the library to a reader of the example host.
void demoAxis();
void demoKernel();
void demoTurbo();
void demoTriangle();

#endif
