// The custom-list field reader over any bytes: every field takes at least
// one byte, so reading ends; past the end it raises 62 and nothing else.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "platform/field_reader.h"
#include "platform/run_error.h"

using vw::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    vw::FieldReader reader(input);
    std::size_t fields = 0, fieldBytes = 0;
    while (!reader.AtEnd()) {
        Require(++fields <= input.size(), "every field consumes input");
        const std::string field = reader.Next();
        fieldBytes += field.size();
        Require(fieldBytes <= input.size(), "fields hold only bytes of the input");
    }
    try {
        reader.Next();
        Require(false, "reading past the end raises");
    } catch (const vw::RunError& e) {
        Require(e.Number() == vw::errnum::kInputPastEndOfFile, "past the end raises 62");
    }
    return 0;
}
