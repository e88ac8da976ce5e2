// Starts whole processes in turn, round after round, so that a machine
// busy with something else slows each of them alike; reports per program
// the median time from exec to its window on screen (the program writes the
// moment, CLOCK_MONOTONIC in nanoseconds, on its standard output) and the
// median processor time and peak memory, each also as a ratio to the first
// program. On a busy machine the processor time is the steadier figure.
//
//     startup_compare [-n RUNS] FLOOR PROGRAM...
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

long long nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

struct Run {
    double shownMs = 0;
    double cpuMs = 0;
    long maxRssKb = 0;
    bool ok = false;
};

Run runOnce(const char* program)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    const long long start = nowNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        // Qt's remarks would only cost time here.
        freopen("/dev/null", "w", stderr);
        close(out[0]);
        close(out[1]);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run r;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !text.empty();
    r.shownMs = r.ok ? double(std::atoll(text.c_str()) - start) / 1e6 : 0;
    r.maxRssKb = usage.ru_maxrss;
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    r.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    return r;
}

template <class T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 40;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-n") == 0) {
        runs = std::atoi(argv[2]);
        first = 3;
    }
    const std::vector<const char*> programs(argv + first, argv + argc);
    if (programs.size() < 2 || runs < 1) {
        std::fprintf(stderr, "usage: startup_compare [-n RUNS] FLOOR PROGRAM...\n");
        return 2;
    }
    // A few rounds first, for the file cache.
    for (int i = 0; i < 3; ++i)
        for (const char* p : programs)
            runOnce(p);
    std::vector<std::vector<double>> times(programs.size()), cpu(programs.size());
    std::vector<std::vector<long>> memory(programs.size());
    for (int i = 0; i < runs; ++i)
        for (size_t p = 0; p < programs.size(); ++p) {
            const Run r = runOnce(programs[p]);
            if (!r.ok) {
                std::fprintf(stderr, "%s failed\n", programs[p]);
                return 1;
            }
            times[p].push_back(r.shownMs);
            cpu[p].push_back(r.cpuMs);
            memory[p].push_back(r.maxRssKb);
        }
    const double floorMs = median(times[0]), floorCpu = median(cpu[0]);
    const double floorKb = double(median(memory[0]));
    std::printf("%-24s %12s %6s %12s %6s %12s %6s\n", "median of alternate runs", "on screen", "ratio", "processor",
                "ratio", "peak memory", "ratio");
    for (size_t p = 0; p < programs.size(); ++p) {
        const char* name = std::strrchr(programs[p], '/') ? std::strrchr(programs[p], '/') + 1 : programs[p];
        const double ms = median(times[p]), processor = median(cpu[p]);
        const long kb = median(memory[p]);
        std::printf("%-24s %9.1f ms %6.2f %9.1f ms %6.2f %9ld kB %6.2f\n", name, ms, ms / floorMs, processor,
                    processor / floorCpu, kb, double(kb) / floorKb);
    }
    std::printf("%d runs each\n", runs);
    return 0;
}
