// Kills a batch of two-cycles with SIGKILL at random moments and puts it right the way the next
// start does, then checks every file. Not a timing: the random moments only need to fall inside
// the batch.
//
//   bench-crash_execute [KILLS] [CYCLES]     default 50 kills of 20000 two-cycles (40000 files)
//
// Each round: a child runs the batch (journal on, in a state folder of its own); the parent waits
// until the journal is there, sleeps a random part of one whole batch's time and kills the child.
// The restart answers OK (put back) or Cancel (finish) at random. Every file must then carry its
// own contents under the name the answer gives; none may be under a temporary name.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "pipeline/journal.h"
#include "pipeline/pipeline.h"
#include "platform/posix/posix_fs.h"

namespace {

namespace stdfs = std::filesystem;

class Answering final : public vb::Dialogs {
public:
    explicit Answering(int answer) : answer_(answer) {}
    int messageBox(const std::string&, const std::string&, vb::Icon, vb::Buttons b) override {
        return b == vb::Buttons::OkCancel ? answer_ : vb::kAnswerOk;
    }
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }

private:
    int answer_;
};

double now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

std::string name(int i) {
    std::string n = "f";
    n += std::to_string(i);
    return n += ".dat";
}

// Entry 2k and 2k+1 swap names.
void runBatch(vb::FileSystem& fs, const std::string& dir, int files) {
    std::vector<std::string> names;
    for (int i = 0; i < files; ++i) names.push_back(name(i));
    std::vector<vb::RenamePair> pairs;
    for (int i = 0; i < files; ++i)
        pairs.push_back({names[static_cast<size_t>(i)], names[static_cast<size_t>(i ^ 1)]});
    const std::unique_ptr<vb::OpenFolder> folder = fs.openFolder(dir);
    vb::NoProgress progress;
    vb::renameEntries(fs, folder.get(), dir, pairs, progress);
}

bool journalThere(const stdfs::path& state) {
    std::error_code ec;
    for (const auto& e : stdfs::directory_iterator(state, ec))
        if (e.path().extension() == ".journal") return true;
    return false;
}

std::string slurp(const stdfs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
    const int kills = argc > 1 ? std::atoi(argv[1]) : 50;
    const int files = 2 * (argc > 2 ? std::atoi(argv[2]) : 20000);
    const stdfs::path root = stdfs::temp_directory_path() / "velbrook-crash" / std::to_string(getpid());
    const stdfs::path work = root / "w";
    const stdfs::path state = root / "state";
    stdfs::create_directories(work);
    // file i holds "i"; owner[n] is the file now under name n.
    std::vector<int> owner(static_cast<size_t>(files));
    for (int i = 0; i < files; ++i) {
        std::ofstream(work / name(i), std::ios::binary) << i;
        owner[static_cast<size_t>(i)] = i;
    }
    const std::string dir = work.string() + "/";
    vb::PosixFileSystem fs(root.string() + "/", state.string());

    // One whole batch, to know how long the random moments may be.
    double start = now();
    runBatch(fs, dir, files);
    const double whole = now() - start;
    for (int i = 0; i < files; ++i) owner[static_cast<size_t>(i)] ^= 1;

    std::mt19937 random(std::random_device{}());
    int killed = 0, finished = 0, failures = 0, putBack = 0, done = 0;
    while (killed < kills) {
        const pid_t pid = fork();
        if (pid < 0) return 1;
        if (pid == 0) {
            runBatch(fs, dir, files);
            _exit(0);
        }
        while (!journalThere(state)) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) break;
            sched_yield();
        }
        const double wait = std::uniform_real_distribution<double>(0, whole)(random);
        const timespec ts{static_cast<time_t>(wait),
                          static_cast<long>((wait - static_cast<double>(static_cast<time_t>(wait))) * 1e9)};
        nanosleep(&ts, nullptr);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFSIGNALED(status)) {
            ++finished;  // the batch ended first: every pair swapped
            for (int& o : owner) o ^= 1;
            continue;
        }
        ++killed;
        const bool back = std::bernoulli_distribution(0.5)(random);
        Answering answer(back ? vb::kAnswerOk : vb::kAnswerCancel);
        vb::PosixFileSystem restarted(root.string() + "/", state.string());
        vb::recoverInterruptedBatch(restarted, answer);
        if (!back)
            for (int& o : owner) o ^= 1;
        (back ? putBack : done)++;

        int bad = 0, entries = 0;
        for (const auto& e : stdfs::directory_iterator(work)) {
            ++entries;
            const std::string n = e.path().filename().string();
            if (n.rfind("~velbrook-", 0) == 0) {
                ++bad;
                continue;
            }
            const int i = std::atoi(n.c_str() + 1);
            if (slurp(e.path()) != std::to_string(owner[static_cast<size_t>(i)])) ++bad;
        }
        if (entries != files) bad += std::abs(entries - files);
        if (journalThere(state)) ++bad;
        if (bad) ++failures;
        std::printf("kill %d after %.3f s, %s: %d files wrong\n", killed, wait,
                    back ? "put back" : "finished", bad);
        std::fflush(stdout);
    }
    std::printf(
        "%d files, one batch %.3f s; %d kills (%d put back, %d finished), %d batches ended before the "
        "kill; %d kills left a file wrong\n",
        files, whole, killed, putBack, done, finished, failures);
    stdfs::remove_all(root);
    std::error_code ec;
    stdfs::remove(root.parent_path(), ec);  // when no other run still uses it
    return failures == 0 ? 0 : 1;
}
