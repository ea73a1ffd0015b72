// A scratch folder per test on the real file system, and whole-file reads
// and writes, for both builds.
#pragma once

#include <string>

namespace quillon::test_files {

// Creates an empty folder of its own and returns its path (no final
// separator). Natively the path uses "/" up to the folder, and the
// configurator's "\" then works as an ordinary character of the names in it.
std::string MakeScratchFolder(const std::string& name);
void RemoveScratchFolder(const std::string& path);
// `name` in `folder`, with the system's own separator.
std::string InFolder(const std::string& folder, const std::string& name);
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
void MakeFolder(const std::string& path);

}  // namespace quillon::test_files
