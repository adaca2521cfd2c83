// Times two commands as whole processes, in turn (A B A B ...), and prints the median wall time of
// each and the median of the ratios A/B pair by pair, which holds when the machine's speed drifts
// during the run. Each command's output is thrown away; a run that fails stops it.
// Usage: cli_pairs PAIRS A [ARG ...] -- B [ARG ...]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Milliseconds from starting the command to its end; negative where it did not end with status 0.
double timed(char** command) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(command[0], command);
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    int split = 2;
    while (split < argc && std::string(argv[split]) != "--")
        ++split;
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 0;
    if (pairs < 1 || split == 2 || split + 1 >= argc) {
        std::fprintf(stderr, "usage: cli_pairs PAIRS A [ARG ...] -- B [ARG ...]\n");
        return 2;
    }
    argv[split] = nullptr;
    char** a = argv + 2;
    char** b = argv + split + 1;
    std::vector<double> as, bs, ratios;
    for (int i = -1; i < pairs; ++i) {  // the first pair warms the caches and is not counted
        const double ta = timed(a), tb = timed(b);
        if (ta < 0 || tb < 0) {
            std::fprintf(stderr, "cli_pairs: %s failed\n", ta < 0 ? a[0] : b[0]);
            return 1;
        }
        if (i < 0)
            continue;
        as.push_back(ta);
        bs.push_back(tb);
        ratios.push_back(ta / tb);
    }
    std::printf("%.1f %.1f %.2f\n", median(as), median(bs), median(ratios));
    return 0;
}
