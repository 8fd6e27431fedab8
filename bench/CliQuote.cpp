// `tarifon-cli quote` as a whole process, against /bin/true started the same way, so the
// cost of starting any process on this machine is visible beside ours.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

static void RunProcess(benchmark::State& state, const char* path, std::vector<const char*> args) {
    args.insert(args.begin(), path);
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid;
        if (posix_spawn(&pid, path, &actions, nullptr, const_cast<char**>(args.data()), environ) != 0) {
            state.SkipWithError("cannot start the process");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the process failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

static void BinTrue(benchmark::State& state) {
    RunProcess(state, "/bin/true", {});
}
static void CliQuote(benchmark::State& state) {
    RunProcess(state, TARIFON_CLI, {"quote", "--owner", "legal", "--vehicle", "truck-16"});
}
BENCHMARK(BinTrue)->Unit(benchmark::kMillisecond);
BENCHMARK(CliQuote)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
