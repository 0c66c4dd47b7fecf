// The compiler's round on the largest directory: a correction file found, shown and reviewed
// in the real dialog with Store pressed, one file and a batch of 200.

#include "correction_file.h"
#include "cp1252.h"
#include "data_file.h"
#include "directory.h"
#include "directory_generator.h"
#include "entry_fields.h"
#include "frm_ZEL.h"
#include "entry_values.h"
#include "likely_people.h"
#include "message_box.h"
#include "person_lookup.h"
#include "window_snapshot.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int Telephone = 7;

struct Bench {
    QTemporaryDir dir;
    Directory directory{generate_directory(MaxEntryCount)};
    const EntryTable& table = directory.table();
    std::unique_ptr<frm_ZEL> window;
    std::unique_ptr<frm_ZEL> writer;  // writes the correction files, as a user's window would
    std::vector<std::int16_t> people; // entries whose names no other entry shares
    QTimer store_presser;

    Bench() {
        set_message_hook_for_testing([](const QString&, bool) {});
        directory.choose(1);
        writer = std::make_unique<frm_ZEL>(directory, dir.path().toStdString());
        window = std::make_unique<frm_ZEL>(directory, dir.path().toStdString());
        window->enter_maintenance_mode();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) std::puts("the window was not shown");
        for (int e = 1; e <= MaxEntryCount && people.size() < 200; e += 97) {
            const QString surname = from_cp1252(table.text(e, SurnameSlot));
            const QString first = from_cp1252(table.text(e, FirstNamesSlot));
            if (find_person(table, surname, first).size() == 1) people.push_back(std::int16_t(e));
        }
        // Presses Store in whichever review is open, as soon as it shows.
        store_presser.setInterval(0);
        QObject::connect(&store_presser, &QTimer::timeout, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("Store")) button->click();
        });
    }

    // The correction file of entry `e` with a telephone number new to the directory.
    QString write_file(std::int16_t e, int round) {
        directory.choose(e);
        writer->show_record();
        CorrectionSnapshot window_of_e = take_snapshot(*writer);
        window_of_e.Text1[Telephone] = QStringLiteral("+9 %1 %2").arg(e).arg(round);
        const QString path = dir.filePath(QStringLiteral("%1_KAV.TXT").arg(e));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(encode_correction_text(correction_text(window_of_e)));
        return path;
    }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

// Finding the person of a file among every entry, alone.
void find_the_person(benchmark::State& state) {
    Bench& b = bench();
    const std::int16_t e = b.people.back();
    const QString surname = from_cp1252(b.table.text(e, SurnameSlot));
    const QString first = from_cp1252(b.table.text(e, FirstNamesSlot));
    for (auto _ : state) benchmark::DoNotOptimize(find_person(b.table, surname, first));
}

// Scoring a renamed person's file against every entry: no entry has the file's name.
void score_the_likely_people(benchmark::State& state) {
    Bench& b = bench();
    EntryValues file = entry_values(b.table, b.people.back());
    file.Text1[SurnameSlot] = QStringLiteral("Quendolyn-Renamed");
    for (auto _ : state) benchmark::DoNotOptimize(likely_people(b.table, file));
}

// One file: read, its person found and shown, the review opened, Store pressed.
void one_file(benchmark::State& state) {
    Bench& b = bench();
    int round = 0;
    b.store_presser.start();
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = b.write_file(b.people[std::size_t(round) % b.people.size()], round);
        ++round;
        state.ResumeTiming();
        b.window->import_correction_files({path});
    }
    b.store_presser.stop();
}

// 200 files in one batch, each reviewed and stored.
void batch_of_200(benchmark::State& state) {
    Bench& b = bench();
    int round = 0;
    b.store_presser.start();
    for (auto _ : state) {
        state.PauseTiming();
        QStringList paths;
        for (const std::int16_t e : b.people) paths << b.write_file(e, round);
        ++round;
        state.ResumeTiming();
        b.window->import_correction_files(paths);
    }
    b.store_presser.stop();
    state.counters["files"] = double(b.people.size());
}

} // namespace

BENCHMARK(find_the_person)->Unit(benchmark::kMillisecond);
BENCHMARK(score_the_likely_people)->Unit(benchmark::kMillisecond);
BENCHMARK(one_file)->Unit(benchmark::kMillisecond);
BENCHMARK(batch_of_200)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Each round writes its log: into a folder of the benchmark's own, not the user's.
    QTemporaryDir logs;
    qputenv("XDG_DATA_HOME", QFile::encodeName(logs.path()));
    benchmark::Initialize(&argc, argv);
    bench();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench().window.reset(); // before the application goes
    bench().writer.reset();
    return 0;
}
