// What adding a file to a set does to the freshly read set before the merge:
// shifting its object IDs and interpolating each object to every frame.
#pragma once

#include <cstdint>

#include "orvo_event_set.h"

// Adds offset to every id when offset > 0 (wrapping at the 32-bit range, so
// distinct IDs stay distinct); an offset of 0 or below changes nothing.
int orvo_event_set_offset_ids(orvoEventSet* set, int32_t offset);

// Replaces events and frames by one box per frame of each object's annotated
// span, Catmull-Rom interpolated between its annotations. -1, with the set
// untouched, when the result would not fit in memory.
int InterpolateEventSet(orvoEventSet* set);

float CatmullRom(float p0, float p1, float p2, float p3, float t);
