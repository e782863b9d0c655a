#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <random>
#include <set>

#include "orvo_event_set.h"
#include "event_asserts.h"
#include "temp_dir.h"

using namespace std::string_literals;

namespace {

// A whole event file around the given "Event" elements.
std::string doc(const std::string& events) {
  return "<?xml version=\"1.0\"?>\n<Root>\n<File>\n" + events + "</File>\n</Root>\n";
}

std::string event(const std::string& time, const std::string& id, const std::string& parameters) {
  return "<Event><Time>" + time + "</Time><ID>" + id + "</ID><Parameters " + parameters +
         "/></Event>\n";
}

// A set with content, to see that a failed load leaves all of it alone.
orvoEventSet filled_set() {
  orvoEventSet set;
  set.events = {{1, 2, 3, 4, 5, 6, 7}};
  set.frames = {1};
  set.types = {3};
  set.default_type = 6;
  return set;
}

void expect_filled(const orvoEventSet& set, const std::string& context) {
  expect_events(set.events, {{1, 2, 3, 4, 5, 6, 7}}, context);
  EXPECT_EQ(set.frames, std::vector<int32_t>{1}) << context;
  EXPECT_EQ(set.types, std::vector<int32_t>{3}) << context;
  EXPECT_EQ(set.default_type, 6) << context;
}

}  // namespace

TEST(XmlRead, Events) {
  struct Case {
    const char* name;
    std::string content;
    Events events;
    std::vector<int32_t> frames;
    std::vector<int32_t> types;
  } cases[] = {
      {"box from the extremes, truncated",
       doc(event("12", "0", "Object=\"3\" MinX=\"10.9\" MinY=\"20\" MaxX=\"30\" MaxY=\"40.5\"")),
       {{12, 3, 0, 10, 20, 30, 40}}, {12}, {0}},
      {"type 1 keeps first above second",
       doc(event("1", "1", "Object=\"2\" MinX=\"30\" MinY=\"40\" MaxX=\"10\" MaxY=\"20\"")),
       {{1, 2, 1, 30, 40, 10, 20}}, {1}, {1}},
      {"type 4 is the bounding box of the corners, truncated toward zero",
       doc(event("1", "4", "Object=\"5\" X1=\"30\" Y1=\"7.9\" X2=\"10\" Y2=\"40.9\" X3=\"-5.5\" "
                           "Y3=\"20\" X4=\"12\" Y4=\"8\"")),
       {{1, 5, 4, -5, 7, 30, 40}}, {1}, {4}},
      {"type 4 with missing corners takes them as 0",
       doc(event("1", "4", "X1=\"10\" Y1=\"-10\"")), {{1, 0, 4, 0, -10, 10, 0}}, {1}, {4}},
      {"other types have no box but are events",
       doc(event("2", "2", "Object=\"1\" MinX=\"1\" MinY=\"2\" MaxX=\"3\" MaxY=\"4\"")),
       {{2, 1, 2, 0, 0, 0, 0}}, {2}, {2}},
      {"ID keeps its low 8 bits, read like atol",
       doc("<Event><ID>260</ID></Event><Event><ID>-1</ID></Event><Event><ID>256</ID></Event>"
           "<Event><ID>12.7</ID></Event><Event><ID> +7x</ID></Event><Event><ID>99999999999</ID></Event>"),
       {{0, 0, 4, 0, 0, 0, 0}, {0, 0, 255, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 12, 0, 0, 0, 0},
        {0, 0, 7, 0, 0, 0, 0}, {0, 0, 255, 0, 0, 0, 0}},
       {0}, {4, 255, 0, 12, 7}},
      {"frames once each, sorted by unsigned value",
       doc("<Event><Time>7</Time></Event><Event><Time>3</Time></Event><Event><Time>7</Time></Event>"
           "<Event><Time>-1</Time></Event><Event><Time>5</Time></Event><Event><Time>3</Time></Event>"),
       {{7, 0, 0, 0, 0, 0, 0}, {3, 0, 0, 0, 0, 0, 0}, {7, 0, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0, 0},
        {5, 0, 0, 0, 0, 0, 0}, {3, 0, 0, 0, 0, 0, 0}},
       {3, 5, 7, -1}, {0}},
      {"types in order of first appearance",
       doc("<Event><ID>4</ID></Event><Event><ID>0</ID></Event><Event><ID>4</ID></Event>"
           "<Event><ID>1</ID></Event>"),
       {{0, 0, 4, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 4, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0, 0}},
       {0}, {4, 0, 1}},
      {"missing and empty values are 0",
       doc("<Event/><Event><Time></Time><ID/><Parameters Object=\"\" MinX=\"\" MaxX=\"5\"/></Event>"),
       {{0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 5, 0}}, {0}, {0}},
      {"the later of two names and of two children wins",
       doc("<Event><Time>1</Time><Time>2</Time><ID>4</ID><ID>0</ID>"
           "<Parameters MinX=\"1\" X1=\"2\" MaxY=\"9\" Y2=\"8\"/></Event>" +
           event("2", "0", "X1=\"2\" MinX=\"1\" Y2=\"8\" MaxY=\"9\"")),
       {{2, 0, 0, 2, 0, 0, 8}, {2, 0, 0, 1, 0, 0, 9}}, {2}, {0}},
      {"names are case-sensitive; other nodes and nested events are skipped",
       doc("<Event><time>5</time><Time>6</Time><id>1</id><!-- note --><Extra>9</Extra>"
           "<Parameters object=\"9\" Object=\"4\" minx=\"3\" MinX=\"2\"><Time>8</Time></Parameters>"
           "</Event>\n<event><Time>9</Time></event><Group><Event><Time>9</Time></Event></Group>"
           "<?pi <Event/>?>"),
       {{6, 4, 0, 2, 0, 0, 0}}, {6}, {0}},
      {"only the first File counts",
       "<Root><Other/><File>" + event("1", "0", "Object=\"1\"") + "</File><File>" +
           event("2", "0", "Object=\"2\"") + "</File></Root>",
       {{1, 1, 0, 0, 0, 0, 0}}, {1}, {0}},
      {"a root of any name after a comment, a PI and a doctype",
       "<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<?tool x?>\n<!DOCTYPE Anything>\n"
       "<Anything><File>" + event("3", "0", "Object=\"1\"") + "</File></Anything>",
       {{3, 1, 0, 0, 0, 0, 0}}, {3}, {0}},
      {"text from white space, CDATA and character references",
       doc("<Event><Time> <![CDATA[1]]>&#50; </Time><Parameters MinX=\"&#49;5\" MaxX=\" 7 \"/></Event>"),
       {{12, 0, 0, 15, 0, 7, 0}}, {12}, {0}},
      {"values saturate, NaN is 0, reals read like strtod",
       doc(event("99999999999", "0",
                 "Object=\"-99999999999\" MinX=\"1e30\" MinY=\"-1e300\" MaxX=\"nan\" MaxY=\"0x10\"") +
           event("-99999999999", "1", "MinX=\"inf\" MinY=\"1e2\" MaxX=\"-2147483904\" MaxY=\"3abc\"")),
       {{INT_MAX, INT_MIN, 0, INT_MAX, INT_MIN, 0, 16}, {INT_MIN, 0, 1, INT_MAX, 100, INT_MIN, 3}},
       {INT_MAX, INT_MIN}, {0, 1}},
      {"a File without events gives an empty set", doc(""), {}, {}, {}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    orvoEventSet set = filled_set();
    std::string why;
    ASSERT_EQ(orvo_event_set_load_xml(&set, dir.write("in.xml", c.content), &why), 1)
        << c.name << ": " << why;
    expect_events(set.events, c.events, c.name);
    EXPECT_EQ(set.frames, c.frames) << c.name;
    EXPECT_EQ(set.types, c.types) << c.name;
    EXPECT_EQ(set.default_type, 6) << c.name;
  }
}

TEST(XmlRead, FailuresNameTheFileAndLeaveTheSetUntouched) {
  TempDir dir;
  std::filesystem::create_directory(dir.path("folder.xml"));
  std::mt19937 rng(11);
  std::string garbage(3000, '\0');
  for (char& b : garbage) b = static_cast<char>(rng());
  struct Case {
    const char* name;
    std::string path;
    std::string reason;  // what the message says after the quoted path
  } cases[] = {
      {"missing file", dir.path("none.xml"), "cannot be opened"},
      {"directory", dir.path("folder.xml"), "is a directory"},
      {"mismatched tag", dir.write("bad.xml", "<Root>\n<File>\n<Event></Evnt>\n</File>\n</Root>\n"),
       "not well-formed XML at line 3: Opening and ending tag mismatch"},
      {"truncated file", dir.write("cut.xml", doc(event("1", "0", "Object=\"1\"")).substr(0, 40)),
       "not well-formed XML at line 4: "},
      {"binary garbage after a tag", dir.write("garbage.xml", "<Root>\n<File>" + garbage),
       "not well-formed XML at line "},
      {"NUL byte", dir.write("nul.xml", "<Root><File>\0</File></Root>"s),
       "not well-formed XML at line 1"},
      {"bytes that are not UTF-8", dir.write("latin.xml", "<Root>\n<File>\xFF\xFE</File></Root>"),
       "not well-formed XML at line 2: Input is not proper UTF-8"},
      {"empty file", dir.write("empty.xml", ""), "is empty"},
      {"no root element", dir.write("comment.xml", "<?xml version=\"1.0\"?>\n<!-- nothing -->\n"),
       "has no XML root element"},
      {"text event file", dir.write("text.xml", "frame\t1\nobject\t1 2 3 4 5\n"),
       "has no XML root element"},
      {"root without File",
       dir.write("nofile.xml", "<Root><Files/><file/><Group><File/></Group></Root>"),
       "not an XML event file: the root element <Root> has no <File> element"},
      {"File as the root", dir.write("fileroot.xml", "<File><Event><Time>1</Time></Event></File>"),
       "the root element <File> has no <File> element"},
  };
  for (const Case& c : cases) {
    orvoEventSet set = filled_set();
    std::string why;
    EXPECT_EQ(orvo_event_set_load_xml(&set, c.path, &why), -1) << c.name;
    const std::string prefix = "\"" + c.path + "\": ";
    EXPECT_EQ(why.substr(0, prefix.size()), prefix) << c.name << ": " << why;
    EXPECT_NE(why.find(c.reason), std::string::npos) << c.name << ": " << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << c.name << ": one line";
    expect_filled(set, c.name);
    EXPECT_EQ(orvo_event_set_load_xml(&set, c.path), -1) << c.name << " without a reason";
  }
}

// The reader's values must never come from anything but the file's own text.
class XmlSafety : public ::testing::Test {
 protected:
  // An event file whose document type declaration comes first.
  static std::string with_doctype(const std::string& doctype, const std::string& event_xml) {
    return doctype + "\n<Root>\n<File>\n" + event_xml + "</File>\n</Root>\n";
  }
  orvoEventSet load(const std::string& name, const std::string& content) {
    orvoEventSet set;
    std::string why;
    EXPECT_EQ(orvo_event_set_load_xml(&set, dir_.write(name, content), &why), 1) << name << ": " << why;
    return set;
  }

  TempDir dir_;
};

TEST_F(XmlSafety, EntitiesAreNeverExpanded) {
  orvoEventSet set = load("internal.xml", with_doctype("<!DOCTYPE Root [<!ENTITY n \"42\">]>",
                                                        "<Event><Time>&n;</Time><Parameters "
                                                        "Object=\"&n;\" MinX=\"&n;\"/></Event>"));
  expect_events(set.events, {{0, 0, 0, 0, 0, 0, 0}}, "internal entity");

  std::string bomb = "<!DOCTYPE Root [\n<!ENTITY l0 \"777\">\n";
  for (int level = 1; level <= 10; ++level) {
    bomb += "<!ENTITY l" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) bomb += "&l" + std::to_string(level - 1) + ";";
    bomb += "\">\n";
  }
  bomb += "]>";
  for (const std::string& event_xml :
       {"<Event><Time>&l10;</Time></Event>"s, "<Event><Parameters Object=\"&l10;\"/></Event>"s}) {
    // libxml2 itself may refuse the document; if it does not, nothing is expanded.
    set = filled_set();
    std::string why;
    const std::string path = dir_.write("bomb.xml", with_doctype(bomb, event_xml));
    if (orvo_event_set_load_xml(&set, path, &why) == 1) {
      expect_events(set.events, {{0, 0, 0, 0, 0, 0, 0}}, event_xml);
    } else {
      EXPECT_EQ(why.rfind("\"" + path + "\": ", 0), 0u) << why;
      expect_filled(set, event_xml);
    }
  }
}

TEST_F(XmlSafety, ExternalEntitiesAndDtdsAreNeverLoaded) {
  const std::string secret = "file://" + dir_.write("secret.txt", "777");
  const std::string dtd =
      "file://" + dir_.write("outside.dtd",
                             "<!ENTITY t \"777\">\n<!ATTLIST Parameters Object CDATA \"777\">\n");
  const std::string broken = "file://" + dir_.write("broken.dtd", "<!ENTITY oops");

  orvoEventSet set = load("system-entity.xml",
                          with_doctype("<!DOCTYPE Root [<!ENTITY e SYSTEM \"" + secret + "\">]>",
                                       "<Event><Time>&e;</Time><Parameters/></Event>"));
  expect_events(set.events, {{0, 0, 0, 0, 0, 0, 0}}, "external entity");
  set = load("external-dtd.xml", with_doctype("<!DOCTYPE Root SYSTEM \"" + dtd + "\">",
                                              "<Event><Time>&t;</Time><Parameters/></Event>"));
  expect_events(set.events, {{0, 0, 0, 0, 0, 0, 0}}, "entity and default of an external DTD");
  // A DTD that were read would fail to parse.
  set = load("broken-dtd.xml", with_doctype("<!DOCTYPE Root SYSTEM \"" + broken + "\">",
                                            "<Event><Time>5</Time></Event>"));
  expect_events(set.events, {{5, 0, 0, 0, 0, 0, 0}}, "external DTD");
  set = load("broken-parameter.xml",
             with_doctype("<!DOCTYPE Root [<!ENTITY % p SYSTEM \"" + broken + "\"> %p;]>",
                          "<Event><Time>5</Time></Event>"));
  expect_events(set.events, {{5, 0, 0, 0, 0, 0, 0}}, "external parameter entity");

  // An external entity in an attribute value is an error in XML itself.
  set = filled_set();
  EXPECT_EQ(orvo_event_set_load_xml(
                &set, dir_.write("attribute.xml",
                                 with_doctype("<!DOCTYPE Root [<!ENTITY e SYSTEM \"" + secret + "\">]>",
                                              "<Event><Parameters Object=\"&e;\"/></Event>"))),
            -1);
  expect_filled(set, "external entity in an attribute");
}

TEST_F(XmlSafety, BinaryGarbageGivesADefinedResult) {
  std::mt19937 rng(5);
  const std::string starts[] = {"", "<", "<Root><File><Event>", "\xEF\xBB\xBF<Root>",
                                "\xFF\xFE<\0R\0"s};
  for (int round = 0; round < 40; ++round) {
    std::string bytes = starts[round % 5];
    for (int i = 0; i < 2000; ++i) {
      // Half markup characters, so the parser gets past the first bytes.
      const char markup[] = "<>/=\"' &;#!?[]-ETFPIDxX1Y9.\n";
      bytes += rng() % 2 ? markup[rng() % (sizeof markup - 1)] : static_cast<char>(rng());
    }
    orvoEventSet set = filled_set();
    std::string why;
    int result = orvo_event_set_load_xml(&set, dir_.write("garbage.xml", bytes), &why);
    if (result == -1) {
      EXPECT_FALSE(why.empty());
      expect_filled(set, "garbage round " + std::to_string(round));
    } else {
      EXPECT_EQ(result, 1);
    }
  }
}

TEST(XmlWrite, ReadsBackEveryEvent) {
  TempDir dir;
  orvoEventSet set;
  set.events = {{12, 3, 0, 10, 20, 30, 40},
                {-1, 4, 1, 30, 40, 10, 20},           // negative frame, first above second
                {5, -7, 4, -50, -60, 70, 80},         // corners
                {5, INT_MAX, 4, 0, 0, 0, 0},          // corners of an empty box
                {7, INT_MIN, 255, 0, 0, 0, 0},
                {12, 0, 0, -16777216, 1, 16777216, -1}};
  set.frames = {5, 7, 12, -1};
  set.types = {0, 1, 4, 255};
  ASSERT_EQ(orvo_event_set_save(&set, dir.path("out"), ORVO_SAVE_XML), 1);
  EXPECT_EQ(TempDir::read(dir.path("out.xml")).rfind("<?xml version=\"1.0\"", 0), 0u);

  orvoEventSet back;
  back.default_type = 9;
  std::string why;
  ASSERT_EQ(orvo_event_set_load(&back, dir.path("out.xml"), &why), 1) << why;
  expect_events(back.events, set.events, "read back");
  EXPECT_EQ(back.frames, set.frames);
  EXPECT_EQ(back.types, set.types);
  EXPECT_EQ(back.default_type, 9);

  // Saving again replaces the file, here with an empty set.
  const orvoEventSet empty;
  ASSERT_EQ(orvo_event_set_save_xml(&empty, dir.path("out")), 1);
  ASSERT_EQ(orvo_event_set_load_xml(&back, dir.path("out.xml"), &why), 1) << why;
  EXPECT_TRUE(orvo_event_set_is_empty(&back));
  EXPECT_TRUE(back.frames.empty());
  EXPECT_TRUE(back.types.empty());
}

TEST(XmlWrite, RandomSetsReadBackExactly) {
  TempDir dir;
  std::mt19937 rng(7);
  auto value = [&](int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(rng);
  };
  // Coordinates within +-2^24, where 32-bit reals hold every integer.
  constexpr int32_t kExact = 1 << 24;
  orvoEventSet set;
  std::set<uint32_t> frames;
  for (int i = 0; i < 5000; ++i) {
    const int32_t types[] = {0, 1, 4};
    _orvoEvent e{value(-100, 100000), value(INT_MIN, INT_MAX), types[value(0, 2)],
                 value(-kExact, kExact), value(-kExact, kExact), value(-kExact, kExact),
                 value(-kExact, kExact)};
    if (e.type == 4) {  // corners come back as their bounding box
      if (e.x0 > e.x1) std::swap(e.x0, e.x1);
      if (e.y0 > e.y1) std::swap(e.y0, e.y1);
    }
    set.events.push_back(e);
    frames.insert(static_cast<uint32_t>(e.frame));
  }
  ASSERT_EQ(orvo_event_set_save_xml(&set, dir.path("random")), 1);
  orvoEventSet back;
  std::string why;
  ASSERT_EQ(orvo_event_set_load_xml(&back, dir.path("random.xml"), &why), 1) << why;
  expect_events(back.events, set.events, "random set");
  std::vector<int32_t> want_frames;
  for (uint32_t f : frames) want_frames.push_back(static_cast<int32_t>(f));
  EXPECT_EQ(back.frames, want_frames);
  ASSERT_EQ(back.types.size(), 3u);
  EXPECT_EQ(back.types[0], set.events[0].type);
}

TEST(XmlWrite, CannotCreateTheFile) {
  TempDir dir;
  std::filesystem::create_directory(dir.path("taken.xml"));
  orvoEventSet set;
  set.events = {{1, 1, 0, 0, 0, 1, 1}};
  std::string why;
  EXPECT_EQ(orvo_event_set_save_xml(&set, dir.path("missing/out"), &why), -1);
  EXPECT_NE(why.find("\"" + dir.path("missing/out.xml") + "\": "), std::string::npos) << why;
  EXPECT_EQ(orvo_event_set_save_xml(&set, dir.path("taken"), &why), -1);
  EXPECT_NE(why.find("is a directory"), std::string::npos) << why;
  EXPECT_TRUE(std::filesystem::is_directory(dir.path("taken.xml")));
}
