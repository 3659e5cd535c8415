#include "Spawn.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace bench {

int runSelf(const std::vector<std::string>& args, std::vector<std::string>& lines)
{
    int out[2];
    if (pipe(out) != 0) return -1;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
        close(out[0]);
        close(out[1]);
        return -1;
    }
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        // The game's own warnings (software OpenGL, say) would repeat with every child and
        // bury the report; they are kept beside it.
        const int log = open(kChildLog, O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (log >= 0) {
            dup2(log, STDERR_FILENO);
            close(log);
        }
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        static char self[] = "kovo_bench";
        argv.push_back(self);
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    close(out[1]);
    FILE* in = fdopen(out[0], "r");
    if (!in) {
        close(out[0]);
        waitpid(child, nullptr, 0);
        return -1;
    }
    std::string line;
    int c;
    while ((c = std::fgetc(in)) != EOF) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    std::fclose(in);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace bench
