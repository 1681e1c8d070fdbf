#include "line_reader.h"

namespace cli {

namespace {

class PlainReader final : public LineReader {
 public:
  PlainReader(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  bool Read(const std::string& prompt, std::string& line) override {
    out_ << prompt << std::flush;
    return static_cast<bool>(std::getline(in_, line));
  }

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace

std::unique_ptr<LineReader> PlainLineReader(std::istream& in, std::ostream& out) {
  return std::make_unique<PlainReader>(in, out);
}

}  // namespace cli
