#include "app/BasTrevo.h"
