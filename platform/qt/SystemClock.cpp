#include "platform/qt/SystemClock.h"
