#pragma once
#include "Low.h"
int high();
