#include "platform/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/contract/file_cases.h"

namespace vw {
namespace {

// Every field until the reader reports the end between fields.
std::vector<std::string> Fields(const std::string& bytes) {
    FieldReader reader(bytes);
    std::vector<std::string> fields;
    while (!reader.AtEnd()) fields.push_back(reader.Next());
    return fields;
}

using F = std::vector<std::string>;

TEST(FieldReaderTest, ReadsListsInTheFormTheyAreWritten) {
    EXPECT_EQ(
        Fields("\"F\",\"C:\\Temp\\*.tmp\",\"\"\r\n"
               "\"V\",\"HKEY_CURRENT_USER\\Software\\X\",\"Last, First\"\r\n"),
        (F{"F", "C:\\Temp\\*.tmp", "", "V", "HKEY_CURRENT_USER\\Software\\X", "Last, First"}));
    EXPECT_TRUE(Fields("").empty());
}

TEST(FieldReaderTest, SeparatesFieldsByCommaOrAnyLineEnd) {
    EXPECT_EQ(Fields("a,b\r\nc\nd\re"), (F{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(Fields("a\r\n\r\nb"), (F{"a", "", "b"}));  // an empty line is an empty field
    EXPECT_EQ(Fields("a,,b"), (F{"a", "", "b"}));
}

TEST(FieldReaderTest, SkipsBlanksBeforeAFieldOnly) {
    EXPECT_EQ(Fields("  a b ,\t\"c\""), (F{"a b ", "c"}));
}

TEST(FieldReaderTest, QuotedFieldEndsAtTheNextQuote) {
    EXPECT_EQ(Fields("\"a,b\r\nc\",d"), (F{"a,b\r\nc", "d"}));
    EXPECT_EQ(Fields("\"a\"junk ,b"), (F{"a", "b"}));  // up to the separator is dropped
    EXPECT_EQ(Fields("\"a\"\"b\""), (F{"a"}));         // no quote inside a field
    EXPECT_EQ(Fields("\"open"), (F{"open"}));
    EXPECT_EQ(Fields("x\"y\",z"), (F{"x\"y\"", "z"}));  // a quote counts only at the start
}

TEST(FieldReaderTest, ReadingPastTheEndRaises62) {
    FieldReader reader("\"K\",\"HKEY_USERS\\x\"\r\n");
    reader.Next();
    reader.Next();
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(contract::ErrorOf([&] { reader.Next(); }), errnum::kInputPastEndOfFile);
}

}  // namespace
}  // namespace vw
