// Tovik3D: entry point. Everything else lives in the tovik3d_core library.
#include "app/startup.h"

int main(int argc, char** argv) { return ruma::runGame(argc, argv); }
