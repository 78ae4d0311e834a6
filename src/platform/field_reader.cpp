#include "platform/field_reader.h"

#include "platform/run_error.h"

namespace vw {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

std::string FieldReader::Next() {
    if (AtEnd()) throw RunError(errnum::kInputPastEndOfFile, "Input past end of file");
    while (!AtEnd() && IsBlank(bytes_[pos_])) ++pos_;

    std::string field;
    if (!AtEnd() && bytes_[pos_] == '"') {
        const auto close = bytes_.find('"', pos_ + 1);
        const auto end = close == std::string::npos ? bytes_.size() : close;
        field = bytes_.substr(pos_ + 1, end - pos_ - 1);
        pos_ = end;  // the closing quote is stepped over with the rest
        while (!AtEnd() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
    } else {
        const auto start = pos_;
        while (!AtEnd() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
        field = bytes_.substr(start, pos_ - start);
    }
    SkipDelimiter();
    return field;
}

void FieldReader::SkipDelimiter() {
    if (AtEnd()) return;
    if (bytes_[pos_] == ',' || bytes_[pos_] == '\n') {
        ++pos_;
    } else if (bytes_[pos_] == '\r') {
        ++pos_;
        if (!AtEnd() && bytes_[pos_] == '\n') ++pos_;
    }
}

}  // namespace vw
