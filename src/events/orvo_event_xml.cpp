#include "orvo_event_set.h"

// Placeholder until the XML reader and writer land.
int orvo_event_set_load_xml(orvoEventSet*, const std::string&, std::string* why) {
  if (why) *why = "XML files are not supported yet";
  return -1;
}
int orvo_event_set_save_xml(const orvoEventSet*, const std::string&, std::string* why) {
  if (why) *why = "XML files are not supported yet";
  return -1;
}
