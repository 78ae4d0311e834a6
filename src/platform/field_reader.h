#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace vw {

// Sequential input of comma-separated fields from a file's bytes, the way
// the custom wash lists are read:
// - a field ends at a comma or a line end (CR, LF or CR LF), which is
//   consumed with it; fields are taken without regard to lines;
// - blanks (spaces, tabs) before a field are skipped;
// - a field that starts with a double quote ends at the next double quote and
//   may hold commas and line ends; anything between that quote and the next
//   comma or line end is dropped;
// - the end of the bytes ends a field as well.
class FieldReader {
  public:
    explicit FieldReader(std::string bytes) : bytes_(std::move(bytes)) {}

    // True once every byte has been consumed: the end reached before the
    // start of a record.
    bool AtEnd() const noexcept { return pos_ >= bytes_.size(); }

    // The next field. Raises RunError 62 when nothing is left to read.
    std::string Next();

  private:
    void SkipDelimiter();

    std::string bytes_;
    std::size_t pos_ = 0;
};

}  // namespace vw
