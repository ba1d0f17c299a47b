#include "problems/store.h"
