#pragma once
// Keeps what a library prints on its own (the importer's log lines) out of the
// program's output: while an object lives, the standard output and error go
// nowhere. The program's own messages come after, alone.
namespace cli {

class QuietOutput {
 public:
  QuietOutput();
  ~QuietOutput();
  QuietOutput(const QuietOutput&) = delete;
  QuietOutput& operator=(const QuietOutput&) = delete;

 private:
  int savedOut_ = -1, savedErr_ = -1;
};

}  // namespace cli
