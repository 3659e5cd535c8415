#ifndef KOVO_BASE_APP_LOG_H
#define KOVO_BASE_APP_LOG_H

#include <fstream>

// The one log stream, "ktlog.txt" in the working directory, emptied at every start.
// It is built after the other program-wide objects and so closed before them.
extern std::ofstream g_log;

// One message per line: source path, line number, then the message and its values.
// `msg` is a chain of insertions: LOG("Failed to open " << name).
#define LOG(msg)                                                            \
    do {                                                                    \
        g_log << __FILE__ << " : " << __LINE__ << " : " << msg << std::endl; \
    } while (0)

#endif
