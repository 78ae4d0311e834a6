// The custom-list field reader over any bytes: every field takes at least
// one byte, so reading ends; past the end it raises 62 and nothing else.
#include "fuzz.h"
#include "platform/contract/file_cases.h"
#include "platform/field_reader.h"

void vw::fuzz::Check(const std::string& input) {
    FieldReader reader(input);
    std::size_t fields = 0, fieldBytes = 0;
    while (!reader.AtEnd()) {
        Require(++fields <= input.size(), "every field consumes input");
        fieldBytes += reader.Next().size();
        Require(fieldBytes <= input.size(), "fields hold only bytes of the input");
    }
    Require(contract::ErrorOf([&] { reader.Next(); }) == errnum::kInputPastEndOfFile,
            "past the end raises 62");
}
