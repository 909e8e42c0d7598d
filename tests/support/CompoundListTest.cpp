// The compound list "TxpCASnos.txt" beside the DLL: slots, the count warning, the reports that stop the reading.
#include <gtest/gtest.h>
#include "SupportFixtures.h"
#include "support/TxUtils.h"
#include "support/Utils.h"

class CompoundListTest : public ModuleTest {
 protected:
  // Writes the list, reads it and returns the texts of the boxes shown.
  Texts readList(const std::string& content) {
    EXPECT_TRUE(folder_.write("TxpCASnos.txt", content));
    BoxCapture boxes;
    TxUtils::readCompoundList();
    return boxes.texts();
  }
  static std::string name(int slot) { return tx::bstrText(TxUtils::compoundName(slot)); }
  static std::string cas(int slot) { return tx::bstrText(TxUtils::casNumber(slot)); }
  static int filledSlots() {
    int filled = 0;
    for (int slot = 0; slot <= TxUtils::kSlotCount; ++slot) filled += TxUtils::compoundName(slot) != nullptr;
    return filled;
  }
  static std::string warning(int read) {
    return "WARNING: only " + std::to_string(read) +
           " compounds (1764 were expected) were read from file TxpCASnos.txt. ";
  }
};

TEST_F(CompoundListTest, LinesLandInTheirSlotsAndAShortListWarns) {
  for (auto slot : {std::pair<int, int>{1, 1}, {999, 999}, {3000, 1000}, {3768, 1768}})
    EXPECT_EQ(slot.second, TxUtils::slotOf(slot.first));
  for (int outside : {0, -1, 1000, 2500, 2999, 3769, 100000}) EXPECT_EQ(0, TxUtils::slotOf(outside)) << outside;
  EXPECT_EQ(Texts{warning(4)}, readList("12, WATER, 7732-18-5\n3001, X NULL\n2500, Y 50-00-0\n"));
  EXPECT_EQ("WATER", name(12)); EXPECT_EQ("7732-18-5", cas(12)); EXPECT_EQ("X", name(1001));
  EXPECT_EQ("<null>", cas(1001)); EXPECT_EQ(2, filledSlots()) << "identifier 2500 has no slot";
  EXPECT_EQ(1, TxUtils::casCount()); EXPECT_EQ("<null>", name(0));
  TraceWatch trace;
  EXPECT_EQ(Texts{warning(101)}, readList(compoundLines(100))); EXPECT_EQ("C100", name(100));
  EXPECT_EQ(100, TxUtils::casCount());
  EXPECT_EQ(std::string::npos, trace.added().find("WARNING")) << "the warning is not traced";
  EXPECT_EQ(Texts{}, readList(compoundLines(1763))); EXPECT_EQ("C1", name(1)); EXPECT_EQ("C999", name(999));
  EXPECT_EQ("C3000", name(1000)); EXPECT_EQ("3763-00-2", cas(1763)); EXPECT_EQ(1763, filledSlots());
  EXPECT_EQ(1763, TxUtils::casCount());
  // A missing file is reported and leaves the tables empty.
  folder_.remove("TxpCASnos.txt");
  BoxCapture boxes;
  TxUtils::readCompoundList();
  ASSERT_EQ(1u, boxes.count()); EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("Cannot open TxpCASnos.txt"));
  EXPECT_EQ(0, filledSlots()); EXPECT_EQ(0, TxUtils::casCount());
}

TEST_F(CompoundListTest, LineEndsBlankLinesAndHeadersAreReadAsScanfWould) {
  // CRLF ends, blank lines skipped, last line without an end; a later repeat of an identifier replaces it and
  // may drop its CAS number.
  EXPECT_EQ(Texts{warning(5)}, readList("1, A 1-1-1\r\n\r\n\n2, B 2-2-2\r\n1, A2 NULL\r\n7,C 7-7-7"));
  EXPECT_EQ("2-2-2", cas(2)) << "no carriage return in the CAS number"; EXPECT_EQ("A2", name(1));
  EXPECT_EQ("<null>", cas(1)); EXPECT_EQ("C", name(7)); EXPECT_EQ(2, TxUtils::casCount());
  // A line that does not start with a number ends the list quietly.
  EXPECT_EQ(Texts{warning(2)}, readList("1, A 1-1-1\nID, NAME CAS\n2, B 2-2-2\n")); EXPECT_EQ("A", name(1));
  EXPECT_EQ("<null>", name(2));
}

TEST_F(CompoundListTest, EachBadLineStopsWithItsReport) {
  const std::pair<std::string, const char*> cases[] = {
      {"8, " + std::string(16, 'N') + " 1-1-1", "component name too long"},
      {"8, " + std::string(15, 'N') + ", 1-1-1", "component name too long"},  // the comma counts
      {"8, METHANE 123456789012", "casno name too long"},
      {"8, METHANE", "could not read 3 fields of one line"},
      {"8 METHANE 74-82-8", "could not read 3 fields of one line"},
      {"8, " + std::string(1 << 20, 'N') + " 1-1-1", "component name too long"},  // a megabyte
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first.substr(0, 40));
    TraceWatch trace;
    Texts boxes =
        readList("5, FIFTEENCHARSXYZ 12345678901\n6, FOURTEENCHARSX, 1-1-1\n" + c.first + "\n9, AFTER 1-2-3\n");
    EXPECT_EQ("FIFTEENCHARSXYZ", name(5)) << "15 characters are a name";
    EXPECT_EQ("12345678901", cas(5)) << "11 characters are a CAS number"; EXPECT_EQ("FOURTEENCHARSX", name(6));
    EXPECT_EQ("<null>", name(8)); EXPECT_EQ("<null>", name(9)) << "reading stops at the bad line";
    ASSERT_EQ(1u, boxes.size()) << "no count warning after a stop";
    EXPECT_NE(std::string::npos, boxes[0].find(c.second)) << boxes[0];
    EXPECT_NE(std::string::npos, trace.added().find(c.second));
  }
}

TEST_F(CompoundListTest, HostileFilesEndInAReportNeverInACrash) {
  // A CAS token far beyond its bound, and no line end at all.
  Texts boxes = readList("3, D " + std::string(100000, '7'));
  ASSERT_EQ(1u, boxes.size()); EXPECT_NE(std::string::npos, boxes[0].find("casno name too long"));
  // An identifier too large for an integer has no slot.
  EXPECT_EQ(Texts{warning(2)}, readList("99999999999999999999, BIG 1-1-1\n")); EXPECT_EQ(0, filledSlots());
  // Binary bytes inside a line: zero bytes, the end-of-file byte, bytes above 127.
  EXPECT_EQ(1u, readList("6, B\x01\xff\xfe" + std::string("\0\x1a\x80 9-9-9\n", 10) + "7, SEVEN 7-7-7\n").size());
  EXPECT_EQ("SEVEN", name(7)) << "the list goes on behind the odd line"; EXPECT_EQ("9-9-9", cas(6));
  // Random bytes only: one report or the count warning.
  std::string noise = "4,";
  for (unsigned i = 0, value = 12345; i < 200000; ++i)
    noise.push_back(static_cast<char>((value = value * 1103515245u + 12345u) >> 16));
  EXPECT_EQ(1u, readList(noise).size());
}

TEST(WithoutModuleTest, UnknownModuleFolderMeansNoListAndNoIniValue) {
  MTUtils::setModuleName("txnotloaded.dll");
  BoxCapture boxes;
  EXPECT_EQ("", Utils::readIniValue("DERadid"));
  EXPECT_TRUE(boxes.anyContains("Error getting the dll path for txnotloaded.dll"));
  boxes.clear();
  TxUtils::readCompoundList();
  EXPECT_TRUE(boxes.anyContains("Error getting the dll path for txnotloaded.dll"));
  EXPECT_TRUE(boxes.anyContains("Cannot open TxpCASnos.txt")); EXPECT_EQ(nullptr, TxUtils::compoundName(1));
  MTUtils::setModuleName("");
}

TEST_F(CompoundListTest, NamesInAnyScriptAreReadFromUtf8AndAnsiListsAlike) {
  // UTF-8, with or without the mark editors put first; a name's bound counts characters, not bytes.
  const std::string cyrillic15 = "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ";
  for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
    EXPECT_EQ(Texts{warning(4)}, readList(mark + "1, Насос 1-1-1\n2, ポンプ𝄞, NULL\n3, " + cyrillic15 + " 3-3-3\n"));
    EXPECT_EQ("Насос", name(1)); EXPECT_EQ("ポンプ𝄞", name(2)); EXPECT_EQ(cyrillic15, name(3));
  }
  EXPECT_EQ(Texts{" ERROR: component name too long"}, readList("4, " + cyrillic15 + "Ж 4-4-4\n"));
  // Not UTF-8: the machine's ANSI code page, 1252 in the test prefix.
  ASSERT_EQ(1252u, GetACP());
  EXPECT_EQ(Texts{warning(3)}, readList("5, \xDC" "berhitzer 5-5-5\n6, Caf\xE9 NULL\n"));
  EXPECT_EQ("Überhitzer", name(5)); EXPECT_EQ("Café", name(6)); EXPECT_EQ("5-5-5", cas(5));
}
