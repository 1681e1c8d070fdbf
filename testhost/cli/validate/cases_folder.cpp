// The plug-in's folder, as a full session reads it through the host: the resource
// strings it asks for must be there and say something, the images it loads must
// decode to the size it shows them at, and the manual its Help item opens must be
// a PDF. The load group judges the session itself; these cases judge the files, so
// a host fault does not fail them.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cases.h"
#include "folder_use.h"
#include "testhost/numbers.h"
#include "testhost/strings_file.h"

namespace validate {

namespace {

namespace fs = std::filesystem;

// The file's bytes; false, with `why` ("is missing", ...), when they cannot be had.
bool ReadFile(const fs::path& file, std::string& content, std::string& why) {
  if (!fs::is_regular_file(file)) {
    why = "is missing";
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  why = in ? "" : "cannot be read";
  return why.empty();
}

// Every folder the plug-in opened holds a strings file that reads whole, with each
// string the plug-in asked of that folder, none empty.
void StringsAskedFor(const CaseContext& context, CaseResult& result) {
  const FolderUse use = RunFolderSession(context.plugin);
  for (const std::string& folder : use.resourceFolders) {
    const fs::path file = fs::path(folder) / "strings.res";
    const std::string shown = InPluginFolder(file.string(), context.plugin);
    std::string content, why;
    if (!ReadFile(file, content, why)) {
      result.Fail(shown + " " + why);
      continue;
    }
    const testhost::StringsFile strings = testhost::ParseStrings(content);
    if (!strings.problems.empty()) {
      const std::size_t more = strings.problems.size() - 1;
      result.Fail(shown + " does not read: " + strings.problems.front() +
                  (more > 0 ? " (and " + std::to_string(more) + " more lines)" : ""));
    }
    for (const auto& [askedFolder, id] : use.strings) {
      if (askedFolder != folder) continue;
      const auto found = strings.strings.find(id);
      if (found == strings.strings.end())
        result.Fail(shown + " has no string " + std::to_string(id) + ", which the plug-in asks for");
      else if (found->second.empty())
        result.Fail(shown + ": string " + std::to_string(id) + ", which the plug-in asks for, is empty");
    }
  }
  result.figures["resource folders"] = static_cast<double>(use.resourceFolders.size());
  result.figures["strings asked"] = static_cast<double>(use.strings.size());
}

std::string Number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

// A command's icon takes the host's icon size in points, times its scale factor in
// pixels.
void CheckIconSize(const testhost::Bitmap& icon, const std::string& shown, CaseResult& result) {
  // A bitmap without a scale factor is shown a pixel per point.
  const bool given = icon.data.count(testhost::kBitmapScaleFactor) != 0;
  const double factor = given ? icon.ScaleFactor() : 1.0;
  if (!(factor > 0)) return result.Fail("the command's icon " + shown + " has scale factor " + Number(factor));
  const double pixels = testhost::kCommandIconPoints * factor;
  if (std::abs(icon.width - pixels) < 0.5 && std::abs(icon.height - pixels) < 0.5) return;
  const std::string points = std::to_string(testhost::kCommandIconPoints);
  result.Fail("the command's icon " + shown + " is " + std::to_string(icon.width) + "x" +
              std::to_string(icon.height) + " pixels at scale factor " + Number(factor) + ": the host shows it " +
              points + "x" + points + " points, which take " + Number(pixels) + "x" + Number(pixels) + " pixels");
}

// Every image the plug-in loads decodes; each command's icon is as large as the
// plug-in's scale factor says it is.
void ImagesDecode(const CaseContext& context, CaseResult& result) {
  const FolderUse use = RunFolderSession(context.plugin);
  for (const std::string& file : use.images) {
    const std::string shown = InPluginFolder(file, context.plugin);
    testhost::Bitmap decoded;
    if (!fs::is_regular_file(file)) result.Fail(shown + " is missing");
    else if (!testhost::Bitmaps::Decode(decoded, file)) result.Fail(shown + " does not decode as an image");
  }
  for (const testhost::Bitmap& icon : use.icons) CheckIconSize(icon, InPluginFolder(icon.file, context.plugin), result);
  result.figures["images"] = static_cast<double>(use.images.size());
  result.figures["icons"] = static_cast<double>(use.icons.size());
}

// What the Help item opens is there, and a PDF.
void ManualIsAPdf(const CaseContext& context, CaseResult& result) {
  const FolderUse use = RunFolderSession(context.plugin);
  if (!use.dialogOpened) return result.Fail("the command opened no dialog, so Help could not be picked");
  if (use.helpFiles.empty()) return result.Fail("picking Help opened no file");
  for (const std::string& file : use.helpFiles) {
    const std::string shown = InPluginFolder(file, context.plugin);
    std::string content, why;
    if (!ReadFile(file, content, why)) result.Fail(shown + ", which Help opens, " + why);
    else if (content.rfind("%PDF-", 0) != 0) result.Fail(shown + ", which Help opens, is not a PDF (no %PDF- at its start)");
  }
  result.figures["files opened"] = static_cast<double>(use.helpFiles.size());
}

}  // namespace

void AddFolderCases(std::vector<Case>& cases) {
  cases.push_back({"folder.strings", 1, false, {},
                   "the strings file of each resource folder the plug-in opens in a full session reads whole "
                   "(UTF-8 id=text lines, each id once) and holds every string the plug-in asks for, none empty",
                   StringsAskedFor});
  cases.push_back({"folder.icon", 1, false, {},
                   "every image the plug-in loads in a full session decodes, and the command's icon is the host's "
                   "icon size times the scale factor the plug-in gives it",
                   ImagesDecode});
  cases.push_back({"folder.manual", 1, false, {},
                   "the file picking Help opens in a full session exists and is a PDF (starts with %PDF-)",
                   ManualIsAPdf});
}

}  // namespace validate
