#pragma once
// The main thread's side of the thread cases: the dialog open on the session scene,
// recounting at each step (scene changes, option toggles, pauses), and the fields
// a run of the same steps without threads shows.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "cases.h"
#include "testhost/full_session.h"
#include "testhost/host.h"

namespace validate {

// The eight count fields by element id.
using Fields = std::map<int, std::string>;

Fields FieldsOf(const testhost::Window& window);
std::string Describe(const Fields& fields);

// What the main thread does between runs of the job queue.
enum class Step { kMorePolygons, kMorePoints, kMoreNgons, kChildren, kNonPolygon, kPause, kSync };

// `count` steps drawn from the seed.
std::vector<Step> Steps(std::uint64_t seed, int count);

struct OpenDialog {
  testhost::SessionScene scene;
  testhost::Window* window = nullptr;  // null when it did not open
};

// Loads, starts and runs the command on the session scene; the dialog must show
// the scene's counts at once.
OpenDialog Open(testhost::Host& host, CaseResult& result);

void Apply(testhost::Host& host, OpenDialog& dialog, Step step);

// Closes the window and unloads the library.
void Close(testhost::Host& host, OpenDialog& dialog);

// The fields after each step, in a run without threads.
std::vector<Fields> QuietRun(const CaseContext& context, const std::vector<Step>& steps, CaseResult& result);

}  // namespace validate
