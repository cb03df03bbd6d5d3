#include "Low.h"
#include "High.h"
int low() { return high(); }
