#include "platform/CControlFrontEnd.h"

REGISTER_SINGLETON(CControlFrontEnd, "frontend", 50);
