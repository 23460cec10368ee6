// run_timed COMMAND [ARGS...]: runs the command and prints on standard error its peak resident
// size ("peak_rss_kb N", from wait4, the VmHWM the program reached), its CPU time split into
// user and system time and its page faults ("user_us N sys_us N minflt N majflt N"; the system
// time of a short start-up is mostly exec, the dynamic loader's mappings and the first touch of
// every page, which the minor faults count), then on the last line its
// wall time and its CPU time (user + system), both in microseconds: "wall_us cpu_us". On a
// shared machine the CPU time says more than the wall time, which also holds the time the
// program waited for a core. Exits with the command's status.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: run_timed COMMAND [ARGS...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("run_timed: fork");
        return 2;
    }
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        std::perror("run_timed: exec");
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) < 0) {
        std::perror("run_timed: wait");
        return 2;
    }
    const auto wall = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
    const long long cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                          usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    std::fprintf(stderr, "peak_rss_kb %ld\n", usage.ru_maxrss);
    std::fprintf(stderr, "user_us %lld sys_us %lld minflt %ld majflt %ld\n",
                 usage.ru_utime.tv_sec * 1000000LL + usage.ru_utime.tv_usec,
                 usage.ru_stime.tv_sec * 1000000LL + usage.ru_stime.tv_usec, usage.ru_minflt,
                 usage.ru_majflt);
    std::fprintf(stderr, "%lld %lld\n", static_cast<long long>(wall), cpu);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
