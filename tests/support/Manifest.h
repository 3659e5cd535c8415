#ifndef KOVO_TESTS_SUPPORT_MANIFEST_H
#define KOVO_TESTS_SUPPORT_MANIFEST_H

#include <string>
#include <vector>

namespace testsupport {

// One line of a data manifest: its kind ("image", "wav", ...), the file it names and the
// numbers after the name (picture sizes, lengths).
struct ManifestEntry {
    std::string manifest;
    std::string kind;
    std::string name;
    std::vector<std::string> values;
};

// Every entry of every manifest in the source tree's data/manifest folder.
std::vector<ManifestEntry> manifestEntries();

}  // namespace testsupport

#endif
