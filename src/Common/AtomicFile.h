#ifndef KOVO_COMMON_ATOMICFILE_H
#define KOVO_COMMON_ATOMICFILE_H

#include <string>

// Replaces a file only once its new contents are complete on disk: they go to a file beside
// the target (its name plus ".tmp"), which is renamed over the target after it has been
// written and closed without fault. A failure removes the temporary file and leaves the
// target as it was.
class AtomicFile {
public:
    // 0 when the target holds `contents` now, -1 otherwise. `binary` writes the bytes as they
    // are; otherwise the stream's text mode applies.
    static int write(const std::string& fileName, const std::string& contents, bool binary);
};

#endif
