#ifndef KOVO_TESTS_SUPPORT_FILES_H
#define KOVO_TESTS_SUPPORT_FILES_H

#include <string>
#include <vector>

namespace testsupport {

// Whole-file helpers for tests that make or inspect files in their working directory.
std::vector<unsigned char> readFile(const std::string& name);
void writeFile(const std::string& name, const std::vector<unsigned char>& bytes);
std::string readText(const std::string& name);
void writeText(const std::string& name, const std::string& text);

// A fresh folder `dir` holding links to the generated data of the working directory (and to
// its log, when `withLog`); whatever else tests wrote there stays out.
void makeDataFolder(const std::string& dir, bool withLog = false);

// The lines of "ktlog.txt" written so far, without their "path : line : " prefix.
std::vector<std::string> logMessages();
// True when some log message so far contains `text`.
bool logContains(const std::string& text);

}  // namespace testsupport

#endif
