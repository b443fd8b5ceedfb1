// The built talvik-exam run as a script would run it: its output and exit status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace talvik::exam::testing {

struct ExamRun {
    std::string out;  // standard output and standard error together
    int status = -1;  // -1 when it did not exit normally
};

inline ExamRun runExam(const std::string& args) {
    ExamRun r;
    const std::string command = std::string("QT_QPA_PLATFORM=offscreen '") + TALVIK_EXAM_EXE + "' " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buf[512];
    while (const std::size_t n = std::fread(buf, 1, sizeof buf, pipe)) r.out.append(buf, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace talvik::exam::testing
