// The store's reads and writes over its in-memory list.
#include <gtest/gtest.h>

#include "core/store/encriptor.h"
#include "core/store/scramble.h"
#include "core/text/ansi.h"
#include "fakes/memory_file_system.h"

namespace mrf {
namespace {

class StoreOps : public testing::Test {
protected:
    // A store over a file that holds the sentinel first, then the given lines.
    TEncriptor& Make(std::vector<std::string> lines) {
        lines.insert(lines.begin(), std::string(kSentinel) + "=" + std::string(kSentinel));
        fs.files["mrf.dat"] = Scramble(JoinLines(lines));
        store = std::make_unique<TEncriptor>("mrf.dat", fs);
        return *store;
    }
    std::vector<std::string> Body() const {
        auto lines = store->Lines();
        lines.erase(lines.begin());
        return lines;
    }
    test::MemoryFileSystem fs;
    std::unique_ptr<TEncriptor> store;
};

TEST_F(StoreOps, ReadStringTrimsSpacesOnlyWhenFound) {
    auto& s = Make({"Name=  in ner  "});
    EXPECT_EQ(s.ReadString("name", "x"), "in ner");
    EXPECT_EQ(s.ReadString("Missing", "  def  "), "  def  ");
}

struct BoolCase {
    const char* stored;
    bool expected;
};
class StoreReadBool : public StoreOps, public testing::WithParamInterface<BoolCase> {};

TEST_P(StoreReadBool, OnlyOneIsTrue) {
    auto& s = Make({std::string("Flag=") + GetParam().stored});
    EXPECT_EQ(s.ReadBool("Flag", !GetParam().expected), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, StoreReadBool,
                         testing::Values(BoolCase{"1", true}, BoolCase{" 1 ", true}, BoolCase{"0", false},
                                         BoolCase{"01", false}, BoolCase{"2", false}, BoolCase{"true", false},
                                         BoolCase{"", false}),
                         [](const auto& info) {
                             std::string n;
                             for (char c : std::string(info.param.stored))
                                 n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return "v" + n + (info.param.expected ? "_true" : "_false");
                         });

TEST_F(StoreOps, ReadBoolMissingGivesTheDefault) {
    auto& s = Make({});
    EXPECT_TRUE(s.ReadBool("Nothing", true));
    EXPECT_FALSE(s.ReadBool("Nothing", false));
}

TEST_F(StoreOps, ReadIntegerParsesOrNamesTheBadValue) {
    auto& s = Make({"N=42", "Neg=-7", "Blank=   ", "Bad=12a", "Huge=2147483648", "Hex=$1F"});
    EXPECT_EQ(s.ReadInteger("n", 0), 42);
    EXPECT_EQ(s.ReadInteger("Neg", 0), -7);
    EXPECT_EQ(s.ReadInteger("Blank", 5), 5);
    EXPECT_EQ(s.ReadInteger("Missing", 9), 9);
    EXPECT_EQ(s.ReadInteger("Hex", 0), 31);
    for (const char* key : {"Bad", "Huge"}) {
        try {
            s.ReadInteger(key, 0);
            ADD_FAILURE() << key << " read without error";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.Key(), key);
            EXPECT_EQ(e.Value(), s.ReadString(key, ""));
            EXPECT_NE(std::string(e.what()).find(e.Value()), std::string::npos);
        }
    }
    EXPECT_FALSE(s.Modified());
}

TEST_F(StoreOps, WriteStringAppendsReplacesInPlaceAndDeletes) {
    auto& s = Make({"Auto=1", "Other=x"});
    s.WriteString("auto", "0"); // the caller's spelling replaces the line where it stands
    EXPECT_EQ(Body(), (std::vector<std::string>{"auto=0", "Other=x"}));
    EXPECT_EQ(s.ReadString("AUTO", ""), "0");
    s.WriteString("Auto", "");
    EXPECT_EQ(Body(), std::vector<std::string>{"Other=x"});
    s.WriteString("Auto", "");
    EXPECT_EQ(Body(), (std::vector<std::string>{"Other=x", "Auto="}));
    EXPECT_TRUE(s.KeyExists("auto"));
    EXPECT_TRUE(s.Modified());
}

TEST_F(StoreOps, WritingTheStoredValueChangesNothing) {
    auto& s = Make({"Auto=1", "Pad= 1"});
    s.WriteString("Auto", "1");
    s.WriteString("Pad", " 1"); // compared untrimmed
    EXPECT_FALSE(s.Modified());
    s.WriteString("Pad", "1");
    EXPECT_TRUE(s.Modified());
}

TEST_F(StoreOps, WriteIntegerAndBoolStoreDecimalAndFlags) {
    auto& s = Make({});
    s.WriteInteger("N", -12);
    s.WriteBool("On", true);
    s.WriteBool("Off", false);
    EXPECT_EQ(Body(), (std::vector<std::string>{"N=-12", "On=1", "Off=0"}));
}

TEST_F(StoreOps, LookupsFindTheFirstMatchWhileTheListChanges) {
    auto& s = Make({"Dup=first", "X_1=a", "dup=second"});
    EXPECT_EQ(s.ReadString("DUP", ""), "first");
    s.WriteString("Dup", "");
    EXPECT_EQ(s.ReadString("dup", ""), "second");
    s.RenameKeys("X_", "Dup");
    EXPECT_EQ(s.ReadString("Dup1", ""), "a");
    s.RenameKeys("Dup1", "Y");
    EXPECT_FALSE(s.KeyExists("Dup1"));
    EXPECT_EQ(s.ReadString("Y", ""), "a");
    EXPECT_EQ(s.ReadString("dup", ""), "second");
}

TEST_F(StoreOps, ARenamedLineThatNowComesFirstIsTheOneFound) {
    auto& s = Make({"B=renamed", "A=first", "a=second"});
    EXPECT_EQ(s.ReadString("A", ""), "first");
    s.RenameKeys("B", "A");
    EXPECT_EQ(s.ReadString("a", ""), "renamed");
    s.WriteString("A", "");
    EXPECT_EQ(s.ReadString("A", ""), "first");
}

// The index against a plain walk of the list, over random changes.
TEST_F(StoreOps, LookupsAgreeWithAWalkOfTheList) {
    const std::vector<std::string> names = {"a", "A", "b_1", "B_10", "b_2", "c", "C_1x"};
    auto walk = [](const std::vector<std::string>& lines, const std::string& name) -> std::string {
        for (const auto& l : lines) {
            size_t eq = l.find('=');
            if (eq != std::string::npos && AnsiSameText(l.substr(0, eq), name))
                return l.substr(eq + 1);
        }
        return "<none>";
    };
    auto& s = Make({});
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int step = 0; step < 3000; ++step) {
        const std::string& name = names[next(names.size())];
        switch (next(5)) {
        case 0:
        case 1:
            s.WriteString(name, next(3) ? std::to_string(next(4)) : "");
            break;
        case 2:
            s.DeleteKeys(name.substr(0, 1 + next(2)));
            break;
        case 3:
            s.RenameKeys(name.substr(0, 1), names[next(names.size())].substr(0, 1));
            break;
        default:
            s.ReplaceLines(next(8) ? s.Lines() : std::vector<std::string>{"a=0", "noname", "A=dup"});
        }
        const auto lines = s.Lines();
        for (const auto& probe : names)
            ASSERT_EQ(s.ReadString(probe, "<none>"), walk(lines, probe))
                << "step " << step << " name " << probe;
    }
}

TEST_F(StoreOps, PrefixesMatchWholeLinesWithoutRegardToCase) {
    auto& s = Make({"K_FL_1_mode=1", "K_FL_10_folder=c:\\a", "k_fl_19_mask=*", "K_FL_2_mode=2", "K_FL_1=x"});
    s.DeleteKeys("K_FL_1");
    EXPECT_EQ(Body(), std::vector<std::string>{"K_FL_2_mode=2"});
    s.DeleteKeys("nothing");
    s.DeleteKeys("");
    EXPECT_EQ(s.Count(), 0u);
}

TEST_F(StoreOps, DeleteKeysThatRemovesNothingLeavesModifiedAlone) {
    auto& s = Make({"A=1"});
    s.DeleteKeys("B");
    s.RenameKeys("B", "C");
    EXPECT_FALSE(s.Modified());
}

TEST_F(StoreOps, ReadListGivesValuesInListOrder) {
    auto& s = Make({"LocalUserList1=Bob", "Other=x", "LocalUserList0=ALICE", "localuserlistExtra=Zed=Q"});
    std::vector<std::string> values{"stale"};
    EXPECT_EQ(s.ReadList("LocalUserList", false, values), 3);
    EXPECT_EQ(values, (std::vector<std::string>{"Bob", "ALICE", "Zed=Q"}));
    s.ReadList("LocalUserList", true, values);
    EXPECT_EQ(values, (std::vector<std::string>{"bob", "alice", "zed=q"}));
}

TEST_F(StoreOps, WriteListReplacesNumberedEntries) {
    auto& s = Make({"L0=old", "Keep=1", "L1=old"});
    s.WriteList("L", {"a", "b", "c"});
    EXPECT_EQ(Body(), (std::vector<std::string>{"Keep=1", "L0=a", "L1=b", "L2=c"}));
    std::vector<std::string> values;
    s.ReadList("L", false, values);
    EXPECT_EQ(values, (std::vector<std::string>{"a", "b", "c"}));
    s.SaveIfModified(false);
    s.WriteList("L", {});
    EXPECT_TRUE(s.Modified());
    EXPECT_EQ(Body(), std::vector<std::string>{"Keep=1"});
}

TEST_F(StoreOps, RenameKeysKeepsOrderAndValues) {
    auto& s = Make({"K_FL_2_folder=c:\\b", "Z=1", "K_FL_2_mode=2"});
    s.RenameKeys("k_fl_2_", "K_FL_1_");
    EXPECT_EQ(Body(), (std::vector<std::string>{"K_FL_1_folder=c:\\b", "Z=1", "K_FL_1_mode=2"}));
    EXPECT_EQ(s.ReadInteger("K_FL_1_mode", 0), 2);
    EXPECT_FALSE(s.KeyExists("K_FL_2_mode"));
}

TEST_F(StoreOps, WritesReachTheFileOnlyThroughSave) {
    auto& s = Make({});
    const std::string before = fs.files["mrf.dat"];
    s.WriteString("A", "1");
    EXPECT_EQ(fs.files["mrf.dat"], before);
    EXPECT_TRUE(s.SaveIfModified(false));
    EXPECT_FALSE(s.Modified());
    TEncriptor again("mrf.dat", fs);
    EXPECT_EQ(again.ReadString("A", ""), "1");
}

} // namespace
} // namespace mrf
