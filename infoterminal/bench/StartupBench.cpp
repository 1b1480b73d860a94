// Measures, side by side, how long programs take from process start until their window is
// shown and their peak memory. Each program is started with KX_EXIT_WHEN_SHOWN=1, prints
// "shown" once its window is painted, and quits.
//   kx_startup_bench REPETITIONS PROGRAM REFERENCE
// Prints the median time and peak RSS of each, and PROGRAM's ratios to REFERENCE.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Run {
    double milliseconds = 0;
    long peakKilobytes = 0;
};

// Starts program, waits for its "shown" line and its exit. Exits the bench on any failure.
Run RunOnce(const char* program) {
    int output[2];
    if (pipe(output) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        close(output[1]);
        setenv("KX_EXIT_WHEN_SHOWN", "1", 1);
        execl(program, program, static_cast<char*>(nullptr));
        std::perror(program);
        _exit(127);
    }
    close(output[1]);
    std::string said;
    char buffer[64];
    ssize_t got = 0;
    auto shown = start;
    while (said.find("shown") == std::string::npos &&
           (got = read(output[0], buffer, sizeof buffer)) > 0) {
        said.append(buffer, static_cast<std::size_t>(got));
        shown = std::chrono::steady_clock::now();
    }
    close(output[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (said.find("shown") == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not show its window (status %d)\n", program, status);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(shown - start).count(), usage.ru_maxrss};
}

template <class T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Summary {
    double milliseconds;
    long peakKilobytes;
};

Summary Summarise(const std::vector<Run>& runs) {
    std::vector<double> times;
    std::vector<long> peaks;
    for (const Run& run : runs) {
        times.push_back(run.milliseconds);
        peaks.push_back(run.peakKilobytes);
    }
    return {Median(times), Median(peaks)};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: %s REPETITIONS PROGRAM REFERENCE\n", argv[0]);
        return 2;
    }
    const int repetitions = std::atoi(argv[1]);
    const char* program = argv[2];
    const char* reference = argv[3];

    RunOnce(program);  // warm the file cache for both
    RunOnce(reference);
    std::vector<Run> programRuns;
    std::vector<Run> referenceRuns;
    for (int i = 0; i < repetitions; ++i) {  // interleaved, so that drifts hit both alike
        programRuns.push_back(RunOnce(program));
        referenceRuns.push_back(RunOnce(reference));
    }
    const Summary p = Summarise(programRuns);
    const Summary r = Summarise(referenceRuns);
    std::printf("%-12s %12s %14s\n", "", "shown (ms)", "peak RSS (KB)");
    std::printf("%-12s %12.1f %14ld\n", "program", p.milliseconds, p.peakKilobytes);
    std::printf("%-12s %12.1f %14ld\n", "reference", r.milliseconds, r.peakKilobytes);
    std::printf("%-12s %12.2f %14.2f\n", "ratio", p.milliseconds / r.milliseconds,
                static_cast<double>(p.peakKilobytes) / static_cast<double>(r.peakKilobytes));
    return 0;
}
