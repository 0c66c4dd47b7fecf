// Loading and saving the largest directory: bench_store [Google Benchmark flags]
#include "data_file.h"
#include "directory_generator.h"
#include "entry_fields.h"
#include "file_identity.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::filesystem::path folder;

long peak_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QString data_file() {
    return QString::fromStdString((folder / DataFileName).string());
}

void BM_ReadBytes(benchmark::State& state) {
    for (auto _ : state) {
        QFile file(data_file());
        if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open the data file");
        benchmark::DoNotOptimize(file.readAll());
    }
}

// The same read into memory that is already touched, the lowest cost of getting the bytes.
void BM_ReadBytesIntoWarmBuffer(benchmark::State& state) {
    std::string buffer(std::size_t(QFile(data_file()).size()), '\0');
    for (auto _ : state) {
        QFile file(data_file());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            state.SkipWithError("cannot open the data file");
        benchmark::DoNotOptimize(file.read(buffer.data(), qint64(buffer.size())));
    }
}

void BM_ReadDataBase(benchmark::State& state) {
    for (auto _ : state) {
        EntryTable table;
        if (!read_data_base(table, folder).ok()) state.SkipWithError("load failed");
        state.PauseTiming();
        table = EntryTable();
        state.ResumeTiming();
    }
}

// A save: the lock, the check that the file is still the one loaded, the new file written and
// synced beside it, the versions moved up and the file kept as .1, the rename, and the sync of
// the folder. With state.range(0) 1 the bytes are those on the disk: nothing is kept or renamed.
void BM_SaveDataBase(benchmark::State& state) {
    const bool same_bytes = state.range(0) != 0;
    EntryTable table;
    read_data_base(table, folder);
    table.TableModified = 1;
    int round = 0;
    for (auto _ : state) {
        if (!same_bytes) table.set_text(1, RemarksSlot, "save " + std::to_string(++round));
        if (!save_data_base(table, folder).ok()) state.SkipWithError("save failed");
    }
}

// The same write alone, without the check and the kept copy.
void BM_SaveDataBaseAs(benchmark::State& state) {
    EntryTable table;
    read_data_base(table, folder);
    for (auto _ : state)
        if (!save_data_base_as(table, folder / "other.dat").ok()) state.SkipWithError("save failed");
}

// What the load spends on the file's identity: hashing bytes already in memory (XXH3, 128 bits).
void BM_HashFileBytes(benchmark::State& state) {
    QFile file(data_file());
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(file_hash(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
}

// The check before a save: reading the file again and hashing it.
void BM_DataFileChanged(benchmark::State& state) {
    EntryTable table;
    read_data_base(table, folder);
    for (auto _ : state)
        if (data_file_changed(table, folder)) state.SkipWithError("the file seems changed");
}

BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadBytesIntoWarmBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadDataBase)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveDataBase)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveDataBaseAs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HashFileBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DataFileChanged)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's time so the load can be set against the plain read.
class Reporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                ms[run.run_name.function_name +
                   (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    // First, so that --help answers before the largest directory is made.
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    folder = dir.path().toStdString();

    // The generator runs in a child, so its memory stays out of this process's peak.
    const pid_t child = fork();
    if (child == 0) _exit(save_data_base_as(generate_directory(MaxEntryCount), folder / DataFileName).ok() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "The largest directory could not be generated.\n");
        return 1;
    }

    const double file_mib = double(QFile(data_file()).size()) / (1024 * 1024);
    const long before = peak_kib();
    {
        EntryTable table;
        const Result result = read_data_base(table, folder);
        if (!result.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(result.message));
            return 1;
        }
    }
    const double load_mib = double(peak_kib() - before) / 1024;
    std::printf("Data file: %d entries, %.1f MiB\n", int(MaxEntryCount), file_mib);
    std::printf("Peak memory: %.1f MiB before loading, %.1f MiB more while loading "
                "(%.2f times the file)\n\n",
                double(before) / 1024, load_mib, load_mib / file_mib);

    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* baseline : {"BM_ReadBytes", "BM_ReadBytesIntoWarmBuffer"})
        if (reporter.ms.count(baseline) && reporter.ms.count("BM_ReadDataBase"))
            std::printf("BM_ReadDataBase takes %.2f times as long as %s.\n",
                        reporter.ms["BM_ReadDataBase"] / reporter.ms[baseline], baseline);
    benchmark::Shutdown();
    return 0;
}
