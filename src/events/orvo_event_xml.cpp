// XML event files. The reader walks a libxml2 tree: root element, its first
// "File" child, one "Event" per event. The writer produces the same shape.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "orvo_event_set.h"
#include "orvo_files.h"
#include "orvo_numbers.h"
#include "orvo_require.h"

namespace {

// Never substitute entities, load DTDs or reach the network: a file can read
// nothing but itself, and the parser's default limits stay in force.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
struct ContextFreer {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};
struct DocFreer {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

struct Source {
  FILE* file;
  size_t bytes = 0;
  bool failed = false;
};

int read_source(void* context, char* buffer, int len) {
  auto* source = static_cast<Source*>(context);
  size_t got = std::fread(buffer, 1, static_cast<size_t>(len), source->file);
  if (got == 0 && std::ferror(source->file)) {
    source->failed = true;
    return -1;
  }
  source->bytes += got;
  return static_cast<int>(got);
}

bool is_element(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, BAD_CAST name) == 0;
}

// Only the direct text and CDATA children: entity references stay unexpanded,
// so no value can grow beyond what the file itself holds.
std::string direct_text(const xmlNode* first_child) {
  std::string text;
  for (const xmlNode* node = first_child; node; node = node->next) {
    if ((node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) && node->content) {
      text += reinterpret_cast<const char*>(node->content);
    }
  }
  return text;
}

// strtod-like, kept as a 32-bit real as the files' producers do; values past
// the float range become infinities (and then saturate) instead of undefined
// conversions.
float parse_real(const std::string& text) {
  const double value = orvo_parse_double(text.c_str());
  if (std::fabs(value) <= FLT_MAX) return static_cast<float>(value);
  constexpr float inf = std::numeric_limits<float>::infinity();
  return value > 0 ? inf : (value < 0 ? -inf : std::numeric_limits<float>::quiet_NaN());
}

// What one "Event" element says; everything it leaves out is 0.
struct EventValues {
  int32_t frame = 0;
  int32_t id = 0;
  int32_t type = 0;
  std::array<float, 4> x{};
  std::array<float, 4> y{};

  void parameters(const xmlNode* element) {
    struct Slot {
      const char* name;
      std::array<float, 4> EventValues::*axis;
      int index;
    };
    static constexpr Slot slots[] = {
        {"MinX", &EventValues::x, 0}, {"X1", &EventValues::x, 0},   {"MinY", &EventValues::y, 0},
        {"Y1", &EventValues::y, 0},   {"MaxX", &EventValues::x, 1}, {"X2", &EventValues::x, 1},
        {"MaxY", &EventValues::y, 1}, {"Y2", &EventValues::y, 1},   {"X3", &EventValues::x, 2},
        {"Y3", &EventValues::y, 2},   {"X4", &EventValues::x, 3},   {"Y4", &EventValues::y, 3},
    };
    for (const xmlAttr* attr = element->properties; attr; attr = attr->next) {
      if (xmlStrcmp(attr->name, BAD_CAST "Object") == 0) {
        id = orvo_parse_long(direct_text(attr->children).c_str());
        continue;
      }
      for (const Slot& slot : slots) {
        if (xmlStrcmp(attr->name, BAD_CAST slot.name) == 0) {
          (this->*slot.axis)[static_cast<size_t>(slot.index)] =
              parse_real(direct_text(attr->children));
          break;
        }
      }
    }
  }

  void read(const xmlNode* event) {
    for (const xmlNode* child = event->children; child; child = child->next) {
      if (is_element(child, "Time")) {
        frame = orvo_parse_long(direct_text(child->children).c_str());
      } else if (is_element(child, "ID")) {
        // Types are one byte: 256 reads as 0, -1 as 255.
        const uint32_t value =
            static_cast<uint32_t>(orvo_parse_long(direct_text(child->children).c_str()));
        type = static_cast<int32_t>(value & 0xFFu);
      } else if (is_element(child, "Parameters")) {
        parameters(child);
      }
    }
  }

  _orvoEvent event() const {
    _orvoEvent e{frame, id, type, 0, 0, 0, 0};
    if (type == 0 || type == 1) {
      e.x0 = orvo_real_to_int(x[0]);
      e.y0 = orvo_real_to_int(y[0]);
      e.x1 = orvo_real_to_int(x[1]);
      e.y1 = orvo_real_to_int(y[1]);
    } else if (type == 4) {
      // fmin/fmax pass over a NaN corner; all four NaN gives NaN, then 0.
      float min_x = x[0], max_x = x[0], min_y = y[0], max_y = y[0];
      for (size_t i = 1; i < 4; ++i) {
        min_x = std::fmin(min_x, x[i]);
        max_x = std::fmax(max_x, x[i]);
        min_y = std::fmin(min_y, y[i]);
        max_y = std::fmax(max_y, y[i]);
      }
      e.x0 = orvo_real_to_int(min_x);
      e.y0 = orvo_real_to_int(min_y);
      e.x1 = orvo_real_to_int(max_x);
      e.y1 = orvo_real_to_int(max_y);
    }
    return e;
  }
};

// The new content of a set, built aside so that a failure changes nothing.
struct Content {
  std::vector<_orvoEvent> events;
  std::vector<int32_t> frames;
  std::vector<int32_t> types;
};

void walk(const xmlNode* file_element, Content& out) {
  size_t count = 0;
  for (const xmlNode* child = file_element->children; child; child = child->next) {
    if (is_element(child, "Event")) ++count;
  }
  out.events.reserve(count);

  std::unordered_set<int32_t> seen_frames;
  bool has_last = false;
  int32_t last_frame = 0;
  std::array<bool, 256> seen_types{};
  for (const xmlNode* child = file_element->children; child; child = child->next) {
    if (!is_element(child, "Event")) continue;
    EventValues values;
    values.read(child);
    out.events.push_back(values.event());

    if (!has_last || values.frame != last_frame) {
      has_last = true;
      last_frame = values.frame;
      if (seen_frames.insert(values.frame).second) out.frames.push_back(values.frame);
    }
    auto& seen = seen_types[static_cast<size_t>(values.type)];
    if (!seen) {
      seen = true;
      out.types.push_back(values.type);
    }
  }
}

std::string parse_error_reason(xmlParserCtxt* context, const Source& source) {
  if (source.failed) return "could not be read to its end";
  if (source.bytes == 0) return "is empty, not an XML event file";
  const xmlError* error = xmlCtxtGetLastError(context);
  if (!error || error->code == XML_ERR_OK) return "could not be parsed as XML";
  if (error->code == XML_ERR_DOCUMENT_EMPTY)
    return "has no XML root element, not an XML event file";
  if (error->code == XML_ERR_NO_MEMORY) return "is too large to load: out of memory";
  // libxml2 ends its messages with a line break and puts some on two lines.
  std::string message = error->message ? error->message : "unknown error";
  for (char& c : message) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  while (!message.empty() && message.back() == ' ') message.pop_back();
  return "not well-formed XML at line " + std::to_string(error->line) + ": " + message;
}

// Encoding and input errors bypass the parser context and go to libxml2's
// generic handler, which prints them; the context keeps the error for us.
class QuietGenericErrors {
 public:
  QuietGenericErrors() : handler_(xmlGenericError), context_(xmlGenericErrorContext) {
    xmlSetGenericErrorFunc(nullptr, ignore);
  }
  ~QuietGenericErrors() { xmlSetGenericErrorFunc(context_, handler_); }
  QuietGenericErrors(const QuietGenericErrors&) = delete;
  QuietGenericErrors& operator=(const QuietGenericErrors&) = delete;

 private:
  static void ignore(void*, const char*, ...) {}

  xmlGenericErrorFunc handler_;
  void* context_;
};

}  // namespace

int orvo_event_set_load_xml(orvoEventSet* set, const std::string& path, std::string* why) {
  ORVO_REQUIRE(set);
  std::unique_ptr<FILE, FileCloser> file(orvo_open_for_reading(path, why));
  if (!file) return -1;

  auto fail = [&](const std::string& reason) {
    if (why) *why = orvo_file_message(path, reason);
    return -1;
  };

  xmlInitParser();
  std::unique_ptr<xmlParserCtxt, ContextFreer> context(xmlNewParserCtxt());
  if (!context) return fail("could not be read: out of memory");
  Source source{file.get()};
  std::unique_ptr<xmlDoc, DocFreer> doc;
  {
    QuietGenericErrors quiet;
    doc.reset(xmlCtxtReadIO(context.get(), read_source, nullptr, &source, path.c_str(), nullptr,
                            kParseOptions));
  }
  if (!doc || source.failed) return fail(parse_error_reason(context.get(), source));

  const xmlNode* root = xmlDocGetRootElement(doc.get());
  if (!root) return fail("has no XML root element, not an XML event file");
  const xmlNode* file_element = root->children;
  while (file_element && !is_element(file_element, "File")) file_element = file_element->next;
  if (!file_element) {
    std::string name(reinterpret_cast<const char*>(root->name));
    if (name.size() > 64) {
      // Cut before a whole UTF-8 character.
      size_t cut = 64;
      while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
      name = name.substr(0, cut) + "...";
    }
    return fail("not an XML event file: the root element <" + name + "> has no <File> element");
  }

  Content content;
  try {
    walk(file_element, content);
  } catch (const std::bad_alloc&) {
    return fail("is too large to load: out of memory");
  }
  set->events = std::move(content.events);
  set->frames = std::move(content.frames);
  set->types = std::move(content.types);
  orvo_event_set_sort_frames(set);
  return 1;
}

int orvo_event_set_save_xml(const orvoEventSet* set, const std::string& base_name,
                            std::string* why) {
  ORVO_REQUIRE(set);
  const std::string path = base_name + ".xml";
  orvoReplacingFile out;
  if (!out.open(path, why)) return -1;
  FILE* file = out.file();

  // Every value is an integer, so plain fprintf needs no escaping. One event
  // per line keeps the tree that a reader builds small.
  std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OrvoEvents>\n<File>\n", file);
  for (const _orvoEvent& e : set->events) {
    int written;
    if (e.type == 4) {
      written =
          std::fprintf(file,
                       "<Event><Time>%d</Time><ID>%d</ID><Parameters Object=\"%d\" X1=\"%d\" "
                       "Y1=\"%d\" X2=\"%d\" Y2=\"%d\" X3=\"%d\" Y3=\"%d\" X4=\"%d\" Y4=\"%d\"/>"
                       "</Event>\n",
                       e.frame, e.type, e.id, e.x0, e.y0, e.x1, e.y0, e.x1, e.y1, e.x0, e.y1);
    } else {
      written =
          std::fprintf(file,
                       "<Event><Time>%d</Time><ID>%d</ID><Parameters Object=\"%d\" MinX=\"%d\" "
                       "MinY=\"%d\" MaxX=\"%d\" MaxY=\"%d\"/></Event>\n",
                       e.frame, e.type, e.id, e.x0, e.y0, e.x1, e.y1);
    }
    if (written < 0) break;  // commit() reports the error
  }
  std::fputs("</File>\n</OrvoEvents>\n", file);
  return out.commit(why) ? 1 : -1;
}
