#pragma once
// The files of a run over several files: each FILE as given, each FOLDER's files
// of the formats the program reads, with its subfolders, sorted by path.
#include <string>
#include <vector>

namespace batch {

struct ListedFile {
  std::string path;
  std::string problem;  // why it cannot be counted before anything runs; empty when it can
};

// The extensions a folder's files are taken by: the importer's 3D formats, and
// the program's own scenes (.json and .scene), lower case with the dot.
std::vector<std::string> CountedExtensions();

// The files of the arguments, in their order. A folder holding no file of those
// formats, or one that cannot be read, is listed itself with its problem.
std::vector<ListedFile> ListFiles(const std::vector<std::string>& arguments);

// Whether an argument names a folder.
bool IsFolder(const std::string& argument);

}  // namespace batch
