// The terminal session's line editor: libedit in its emacs key set (arrows, Ctrl-A,
// Ctrl-E, Backspace, ...), the history of this and earlier sessions on the up and
// down arrows, and Tab completing through the session's completer.
#include <histedit.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "line_reader.h"
#include "printable.h"

namespace cli {

namespace {

constexpr int kHistoryLines = 1000;

std::string HistoryFile() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return "";
  return std::string(home) + "/.statlume-host_history";
}

// The characters (not bytes) of text in the terminal's encoding: the editor
// deletes by characters.
int Characters(const std::string& text) {
  std::mbstate_t state{};
  int count = 0;
  for (std::size_t at = 0; at < text.size(); ++count) {
    const std::size_t length = std::mbrlen(text.data() + at, text.size() - at, &state);
    if (length == 0 || length > text.size() - at) {  // a stray byte counts as one
      state = std::mbstate_t{};
      ++at;
    } else {
      at += length;
    }
  }
  return count;
}

int TerminalColumns() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

// The choices in columns across the terminal, as a shell lists file names.
void ListChoices(const Completion& completion) {
  std::vector<std::string> shown;
  std::size_t widest = 0;
  for (const std::string& choice : completion.choices) {
    shown.push_back(Printable(choice));
    widest = std::max(widest, shown.back().size());
  }
  const std::size_t width = widest + 2;
  const std::size_t columns = std::max<std::size_t>(1, static_cast<std::size_t>(TerminalColumns()) / width);
  const std::size_t rows = (shown.size() + columns - 1) / columns;
  std::string text = "\n";
  for (std::size_t row = 0; row < rows; ++row) {
    for (std::size_t column = 0; column < columns; ++column) {
      const std::size_t i = column * rows + row;
      if (i >= shown.size()) break;
      text += shown[i];
      if (column + 1 < columns && i + rows < shown.size()) text += std::string(width - shown[i].size(), ' ');
    }
    text += "\n";
  }
  if (completion.unlisted > 0) text += "(and " + std::to_string(completion.unlisted) + " more)\n";
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

class TerminalReader final : public LineReader {
 public:
  explicit TerminalReader(Completer complete) : complete_(std::move(complete)), historyFile_(HistoryFile()) {
    std::setlocale(LC_CTYPE, "");  // names in UTF-8 edit as characters
    HistEvent event;
    history_ = history_init();
    history(history_, &event, H_SETSIZE, kHistoryLines);
    history(history_, &event, H_SETUNIQUE, 1);
    if (!historyFile_.empty()) history(history_, &event, H_LOAD, historyFile_.c_str());
    editor_ = el_init("statlume-host", stdin, stdout, stderr);
    el_set(editor_, EL_CLIENTDATA, this);
    el_set(editor_, EL_EDITOR, "emacs");
    el_set(editor_, EL_SIGNAL, 1);  // Ctrl-C and the like leave the terminal as it was
    el_set(editor_, EL_HIST, history, history_);
    el_set(editor_, EL_PROMPT, &TerminalReader::Prompt);
    // The wide form: the narrow one keeps copies of the name and help it never frees.
    el_wset(editor_, EL_ADDFN, L"statlume-complete", L"complete an event or an object path", &TerminalReader::OnTab);
    el_set(editor_, EL_BIND, "^I", "statlume-complete", nullptr);
    el_source(editor_, nullptr);  // the user's own key bindings (~/.editrc)
  }

  ~TerminalReader() override {
    HistEvent event;
    if (!historyFile_.empty()) history(history_, &event, H_SAVE, historyFile_.c_str());
    el_end(editor_);
    history_end(history_);
  }

  TerminalReader(const TerminalReader&) = delete;
  TerminalReader& operator=(const TerminalReader&) = delete;

  bool Read(const std::string& prompt, std::string& line) override {
    prompt_ = prompt;
    int count = 0;
    const char* text = el_gets(editor_, &count);
    if (text == nullptr || count <= 0) return false;
    line.assign(text, static_cast<std::size_t>(count));
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.find_first_not_of(" \t") != std::string::npos) {
      HistEvent event;
      history(history_, &event, H_ENTER, line.c_str());
    }
    return true;
  }

 private:
  static TerminalReader& Of(EditLine* editor) {
    void* self = nullptr;
    el_get(editor, EL_CLIENTDATA, &self);
    return *static_cast<TerminalReader*>(self);
  }

  static char* Prompt(EditLine* editor) { return Of(editor).prompt_.data(); }

  // Tab: the word before the cursor grows as far as its choices agree; when it
  // cannot grow, the choices are listed below the line.
  static unsigned char OnTab(EditLine* editor, int) {
    const LineInfo* line = el_line(editor);
    const std::string before(line->buffer, static_cast<std::size_t>(line->cursor - line->buffer));
    const Completion completion = Of(editor).complete_(before);
    const std::string typed = before.substr(completion.from);
    if (completion.text != typed) {
      el_deletestr(editor, Characters(typed));
      if (el_insertstr(editor, completion.text.c_str()) != 0) return CC_REFRESH_BEEP;
      return CC_REFRESH;
    }
    if (completion.choices.empty()) return CC_REFRESH_BEEP;
    ListChoices(completion);
    return CC_REDISPLAY;
  }

  Completer complete_;
  std::string historyFile_;
  std::string prompt_;
  History* history_ = nullptr;
  EditLine* editor_ = nullptr;
};

}  // namespace

std::unique_ptr<LineReader> TerminalLineReader(Completer complete) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return nullptr;
  return std::make_unique<TerminalReader>(std::move(complete));
}

}  // namespace cli
