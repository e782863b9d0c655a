#include "orvo_event_add.h"
