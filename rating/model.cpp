#include "rating/model.h"
