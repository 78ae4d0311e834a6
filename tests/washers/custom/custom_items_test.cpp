#include <gtest/gtest.h>

#include "support/sim_run.h"
#include "wash/frm_wash.h"

namespace vw {
namespace {

const HKey kCu = hkey::kCurrentUser;

class CustomItemsTest : public ::testing::Test {
  protected:
    void List(const std::string& name, const std::string& text) {
        m.sim.files.AddFile(m.sim.process.programFolder + "\\Custom\\" + name, text);
    }
    float Run(const std::string& washOptions = "") {
        return m.Run("[Standard Options]\r\nNetscape=1\r\n[Wash Options]\r\n" + washOptions);
    }

    test::SimMachine m;
    sim::SimRegistry& reg = m.sim.registry;
};

TEST_F(CustomItemsTest, RecordsTakeEffectInFileOrder) {
    reg.SetString(kCu, "Software\\Old\\Sub", "v", "1");
    reg.SetString(kCu, "Software\\Old2", "gone", "1");
    reg.SetString(kCu, "Software\\Old2", "kept", "1");
    reg.SetString(kCu, "Software\\Kept", "v", "1");
    auto& fs = m.sim.files;
    fs.AddFile("C:\\Data\\a.log");
    fs.AddFile("C:\\Data\\b.log", "", attr::kHidden | attr::kReadOnly);
    fs.AddFile("C:\\Data\\sys.log", "", attr::kSystem);
    fs.AddFile("C:\\Data\\keep.txt");
    fs.AddFile("C:\\Data\\sub\\c.log");
    fs.AddFile("C:\\All\\x");
    fs.AddFile("C:\\All\\y.z", "", attr::kHidden);
    List("one.lst",
         "\"K\",\"HKEY_CURRENT_USER\\Software\\Old\",\"\"\r\n"
         "\"V\",\"HKEY_CURRENT_USER\\Software\\Old\",\"v\"\r\n"         // finds nothing left
         "\"k\",\"HKEY_CURRENT_USER\\Software\\Kept\",\"\"\r\n"         // lower case: skipped
         "\"V\",\"HKEY_CURRENT_USER\\Software\\Old2\"\r\n\"gone\"\r\n"  // split over lines
         "\"F\",\"C:\\Data\\*.log\",\"\"\r\n"
         "\"F\",\"C:\\All\\\",\"\"\r\n"
         "\"F\",\"C:\\Nowhere\\*.*\",\"\"\r\n");
    List("empty.lst", "");

    EXPECT_FLOAT_EQ(Run(), 99.0f);
    EXPECT_FALSE(reg.KeyExists(kCu, "Software\\Old"));
    EXPECT_EQ(reg.ValueNames(kCu, "Software\\Old2"), std::vector<std::string>{"kept"});
    EXPECT_TRUE(reg.KeyExists(kCu, "Software\\Kept"));
    for (const char* gone : {"C:\\Data\\a.log", "C:\\Data\\b.log", "C:\\Data\\sys.log",
                             "C:\\All\\x", "C:\\All\\y.z"}) {
        EXPECT_FALSE(fs.Exists(gone)) << gone;
    }
    EXPECT_TRUE(fs.Exists("C:\\Data\\keep.txt"));
    EXPECT_TRUE(fs.Exists("C:\\Data\\sub\\c.log"));
    EXPECT_EQ(m.JournalCount("open "), 0u) << "no bleaching without AddBleach";
}

TEST_F(CustomItemsTest, AddBleachIsReadForEveryMatchedFile) {
    m.sim.files.AddFile("C:\\Data\\a.log", "secret");
    m.sim.files.AddFile("C:\\Data\\b.log", "secret");
    List("l", "\"F\",\"C:\\Data\\*.log\",\"\"\r\n");
    Run("AddBleach=1\r\n");
    EXPECT_EQ(m.JournalCount("read [Wash Options] AddBleach"), 2u);
    EXPECT_EQ(m.JournalCount("flush"), 2u);
    EXPECT_FALSE(m.sim.files.Exists("C:\\Data\\a.log"));
}

TEST_F(CustomItemsTest, ListsNameAnyScriptAndNeverWashThroughALink) {
    auto& fs = m.sim.files;
    reg.SetString(kCu, "Software\\Ключ\\日本", "v", "1");
    reg.SetString(kCu, "Software\\Keep", "v", "1");
    fs.AddFile("C:\\Данные\\a.log", "secret");
    fs.AddFile("C:\\Café\\b.log", "secret");
    fs.AddFile("C:\\Elsewhere\\target.log", "canary");
    fs.AddLink("C:\\Данные\\link.log", "C:\\Elsewhere\\target.log");
    // With the byte-order mark as UTF-8, without it in the ANSI code page.
    List("utf8.lst",
         "\xEF\xBB\xBF\"K\",\"HKEY_CURRENT_USER\\Software\\Ключ\",\"\"\r\n"
         "\"F\",\"C:\\Данные\\*.log\",\"\"\r\n");
    List("ansi.lst", "\"F\",\"C:\\Caf\xE9\\*.log\",\"\"\r\n");

    EXPECT_FLOAT_EQ(Run("AddBleach=1\r\n"), 99.0f);
    EXPECT_FALSE(reg.KeyExists(kCu, "Software\\Ключ"));
    EXPECT_TRUE(reg.KeyExists(kCu, "Software\\Keep"));
    EXPECT_FALSE(fs.Exists("C:\\Данные\\a.log"));
    EXPECT_FALSE(fs.Exists("C:\\Café\\b.log"));
    EXPECT_FALSE(fs.Exists("C:\\Данные\\link.log"));
    EXPECT_EQ(fs.Content("C:\\Elsewhere\\target.log"), "canary");
    EXPECT_EQ(m.JournalCount("flush"), 2u) << "the link is never overwritten";
}

TEST_F(CustomItemsTest, RootKeysAndRelativePathsDeleteNothing) {
    reg.SetString(kCu, "Software\\Canary", "v", "1");
    reg.SetString(hkey::kUsers, ".DEFAULT\\Canary", "v", "1");
    List("l",
         "\"K\",\"HKEY_CURRENT_USER\\\",\"\"\r\n\"K\",\"HKEY_USERS\\\\\\\",\"\"\r\n"
         "\"F\",\"x.txt\",\"\"\r\n\"F\",\"Data\\x\",\"\"\r\n\"F\",\"\\Data\\x\",\"\"\r\n"
         "\"F\",\"C:\\Data\\y\",\"\"\r\n");
    // What the relative paths would name from the current folder and drive.
    const std::string canaries[] = {"C:\\WINDOWS\\x.txt", "C:\\WINDOWS\\Data\\x", "C:\\Data\\x"};
    for (const std::string& canary : canaries) m.sim.files.AddFile(canary);
    m.sim.files.AddFile("C:\\Data\\y");
    EXPECT_FLOAT_EQ(Run(), 99.0f);
    EXPECT_TRUE(reg.KeyExists(kCu, "Software\\Canary"));
    EXPECT_TRUE(reg.KeyExists(hkey::kUsers, ".DEFAULT\\Canary"));
    for (const std::string& canary : canaries) EXPECT_TRUE(m.sim.files.Exists(canary)) << canary;
    EXPECT_FALSE(m.sim.files.Exists("C:\\Data\\y")) << "the records after them still run";
}

TEST_F(CustomItemsTest, BadRecordsEndTheRunAtTheCustomStep) {
    reg.SetString(kCu, "Software\\Later", "v", "1");
    m.sim.files.AddFile(m.sim.process.programFolder + "\\x.txt");
    const char* lists[] = {
        "\"K\",\"HKEY_CURRENT_USER\\Software\\Later\"",  // truncated record
        "\"K\",\"HKCU\\Software\\Later\",\"\"\r\n",      // unknown root
        "\"V\",\"HKEY_CURRENT_USER\",\"v\"\r\n",         // no separator
        "\"F\",\"Q:\\x.txt\",\"\"\r\n",                  // missing drive
    };
    for (const char* text : lists) {
        m.sim.files.AddFile(m.sim.process.programFolder + "\\Custom\\l", text);
        // Netscape would run after: the run must end before its switch is read.
        EXPECT_FLOAT_EQ(Run(), 81.0f) << text;
        m.sim.files.RemoveFile(m.sim.process.programFolder + "\\Custom\\l");
    }
    EXPECT_TRUE(reg.KeyExists(kCu, "Software\\Later"));
    EXPECT_TRUE(m.sim.files.Exists(m.sim.process.programFolder + "\\x.txt"));
}

TEST_F(CustomItemsTest, WithoutLocalIniOnlyTheCustomStepActs) {
    m.sim.files.AddFile("C:\\Data\\a.log");
    List("l", "\"F\",\"C:\\Data\\a.log\",\"\"\r\n");
    frmWash form(m.sim.platform());
    form.StartClean();
    EXPECT_FALSE(m.sim.files.Exists("C:\\Data\\a.log"));
    EXPECT_EQ(m.JournalCount("clear recent documents"), 0u);
}

}  // namespace
}  // namespace vw
