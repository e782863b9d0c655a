#include "orvo_event_set.h"

// Placeholder until the text reader and writer land.
int orvo_event_set_load_txt(orvoEventSet*, const std::string&, std::string* why) {
  if (why) *why = "not yet";
  return -1;
}
int orvo_event_set_save_txt(const orvoEventSet*, const std::string&, std::string* why) {
  if (why) *why = "not yet";
  return -1;
}
