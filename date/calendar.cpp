#include "calendar.h"
