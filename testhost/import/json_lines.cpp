#include "json_lines.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

namespace testhost::input {

namespace {

// The parser's line: counts the newlines read, and remembers the line of the last
// character that is not white space, which is where the token just read ends
// (the lexer looks one character past a number, which is white space or on the
// same line).
struct LineCount {
  int current = 1;
  int lastToken = 1;
};

class CountingIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator(const char* at, LineCount* count) : at_(at), count_(count) {}
  reference operator*() const {
    if (!std::isspace(static_cast<unsigned char>(*at_))) count_->lastToken = count_->current;
    return *at_;
  }
  CountingIterator& operator++() {
    if (*at_ == '\n') ++count_->current;
    ++at_;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const CountingIterator& other) const { return at_ == other.at_; }
  bool operator!=(const CountingIterator& other) const { return at_ != other.at_; }

 private:
  const char* at_;
  LineCount* count_;
};

// Follows the parser's events, keeping the pointer of the value being read.
class LineNotes : public nlohmann::json_sax<nlohmann::ordered_json> {
 public:
  LineNotes(const LineCount& count, int maxDepth, JsonLines& out) : count_(count), maxDepth_(maxDepth), out_(out) {}

  bool null() override { return Value(); }
  bool boolean(bool) override { return Value(); }
  bool number_integer(number_integer_t) override { return Value(); }
  bool number_unsigned(number_unsigned_t) override { return Value(); }
  bool number_float(number_float_t, const string_t&) override { return Value(); }
  bool string(string_t&) override { return Value(); }
  bool binary(binary_t&) override { return Value(); }
  bool start_object(std::size_t) override { return Open(false); }
  bool start_array(std::size_t) override { return Open(true); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }
  bool key(string_t& key) override {
    Frame& frame = frames_.back();
    if (!frame.keys.insert(key).second) return Fail("the key \"" + key + "\" appears twice in one object");
    frame.key = key;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
    // "[json.exception.parse_error.101] parse error at line 3, column 5: REASON"
    const std::string what = error.what();
    const std::size_t at = what.find("at line ");
    const std::size_t colon = what.find(": ", at == std::string::npos ? 0 : at);
    out_.errorLine = at == std::string::npos ? count_.current : std::atoi(what.c_str() + at + 8);
    out_.error = "JSON syntax error: " + (colon == std::string::npos ? what : what.substr(colon + 2));
    return false;
  }

 private:
  struct Frame {
    bool array = false;
    std::size_t index = 0;
    std::string key;
    std::set<std::string> keys;
  };

  std::string Pointer() const {
    std::string pointer;
    for (const Frame& frame : frames_) pointer += "/" + (frame.array ? std::to_string(frame.index) : frame.key);
    return pointer;
  }
  void Next() {
    if (!frames_.empty() && frames_.back().array) ++frames_.back().index;
  }
  bool Value() {
    out_.lines[Pointer()] = count_.lastToken;
    Next();
    return true;
  }
  bool Open(bool array) {
    if (static_cast<int>(frames_.size()) >= maxDepth_) return Fail("objects and arrays nested too deeply");
    out_.lines[Pointer()] = count_.lastToken;
    frames_.push_back(Frame{array, 0, {}, {}});
    return true;
  }
  bool Close() {
    frames_.pop_back();
    Next();
    return true;
  }
  bool Fail(const std::string& reason) {
    out_.errorLine = count_.lastToken;
    out_.error = reason;
    return false;
  }

  const LineCount& count_;
  int maxDepth_;
  JsonLines& out_;
  std::vector<Frame> frames_;
};

}  // namespace

JsonLines ScanJson(const std::string& text, int maxDepth) {
  JsonLines out;
  LineCount count;
  LineNotes notes(count, maxDepth, out);
  const char* begin = text.data();
  nlohmann::ordered_json::sax_parse(CountingIterator(begin, &count), CountingIterator(begin + text.size(), &count),
                                    &notes);
  return out;
}

}  // namespace testhost::input
