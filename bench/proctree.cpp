// CPU and memory of a process and everything it started, from /proc.
//
//   vostrel-bench-proctree cpu PID SECONDS
//       CPU time (utime + stime, and the cutime + cstime of children already
//       reaped) of PID and its descendants over SECONDS, as a percentage of
//       one core:  cpu: percent=… seconds=… processes=NAME,NAME…
//   vostrel-bench-proctree rss PID
//       resident memory in kB of PID alone and of PID with its descendants:
//       rss: process=… tree=… processes=NAME,NAME…
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {
struct Process
{
    int pid = 0;
    int ppid = 0;
    std::string name;
    long long ticks = 0; // utime + stime + cutime + cstime
    long long rssPages = 0;
};

// Every process readable now. One that ends while we read is skipped.
std::map<int, Process> snapshot()
{
    std::map<int, Process> result;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string base = entry.path().filename().string();
        if (base.empty() || base.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream in(entry.path() / "stat");
        std::string line;
        if (!std::getline(in, line))
            continue;
        // The name may hold spaces and parentheses: it ends at the last ')'.
        const auto open = line.find('(');
        const auto close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open)
            continue;
        Process p;
        p.pid = std::atoi(base.c_str());
        p.name = line.substr(open + 1, close - open - 1);
        std::istringstream rest(line.substr(close + 2));
        std::vector<std::string> fields;
        for (std::string f; rest >> f;)
            fields.push_back(f);
        // fields[0] is field 3 (state) of proc(5).
        if (fields.size() < 22)
            continue;
        p.ppid = std::atoi(fields[1].c_str());
        p.ticks = std::atoll(fields[11].c_str()) + std::atoll(fields[12].c_str()) +
                  std::atoll(fields[13].c_str()) + std::atoll(fields[14].c_str());
        p.rssPages = std::atoll(fields[21].c_str());
        result[p.pid] = p;
    }
    return result;
}

std::vector<Process> tree(const std::map<int, Process> &all, int root)
{
    std::vector<Process> result;
    const auto it = all.find(root);
    if (it == all.end())
        return result;
    result.push_back(it->second);
    for (std::size_t i = 0; i < result.size(); ++i) {
        for (const auto &[pid, p] : all) {
            if (p.ppid == result[i].pid)
                result.push_back(p);
        }
    }
    return result;
}

long long ticksOf(const std::vector<Process> &processes)
{
    long long total = 0;
    for (const Process &p : processes)
        total += p.ticks;
    return total;
}

std::string names(const std::vector<Process> &processes, std::set<std::string> seen = {})
{
    for (const Process &p : processes)
        seen.insert(p.name);
    std::string joined;
    for (const std::string &n : seen)
        joined += (joined.empty() ? "" : ",") + n;
    return joined;
}

[[noreturn]] void usage()
{
    std::fputs("usage: vostrel-bench-proctree cpu PID SECONDS | rss PID\n", stderr);
    std::exit(2);
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        usage();
    const std::string mode = argv[1];
    const int pid = std::atoi(argv[2]);
    if (mode == "rss") {
        const std::vector<Process> processes = tree(snapshot(), pid);
        if (processes.empty()) {
            std::fprintf(stderr, "vostrel-bench-proctree: no process %d\n", pid);
            return 1;
        }
        const long long pageKb = sysconf(_SC_PAGESIZE) / 1024;
        long long total = 0;
        for (const Process &p : processes)
            total += p.rssPages * pageKb;
        std::printf("rss: process=%lld tree=%lld processes=%s\n",
                    processes.front().rssPages * pageKb, total, names(processes).c_str());
        return 0;
    }
    if (mode != "cpu" || argc < 4)
        usage();
    const double seconds = std::atof(argv[3]);
    const std::vector<Process> before = tree(snapshot(), pid);
    if (before.empty()) {
        std::fprintf(stderr, "vostrel-bench-proctree: no process %d\n", pid);
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    // Processes that come and go in between are named too.
    std::set<std::string> seen;
    const auto end = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                 std::chrono::duration<double>(seconds));
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_until(
            std::min(end, std::chrono::steady_clock::now() +
                              std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                  std::chrono::seconds(5))));
        for (const Process &p : tree(snapshot(), pid))
            seen.insert(p.name);
    }
    const std::vector<Process> after = tree(snapshot(), pid);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (after.empty()) {
        std::fprintf(stderr, "vostrel-bench-proctree: process %d ended\n", pid);
        return 1;
    }
    const double cpuSeconds =
        double(ticksOf(after) - ticksOf(before)) / double(sysconf(_SC_CLK_TCK));
    std::printf("cpu: percent=%.3f seconds=%.1f processes=%s\n", 100.0 * cpuSeconds / elapsed,
                elapsed, names(after, seen).c_str());
    return 0;
}
