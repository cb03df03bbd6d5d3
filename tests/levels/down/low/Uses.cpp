#include "Low.h"
#include "Side.h"
#include <vector>
int low() { return side(); }
