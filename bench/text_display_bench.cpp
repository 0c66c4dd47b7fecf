// Time and memory of showing, importing and looking up the longest texts a data file or a
// correction file can hold: one unbroken line, the same length in words, and items at the
// reader's limit.

#include "correction_import.h"
#include "correction_text.h"
#include "directory.h"
#include "entry_table.h"
#include "frm_ZEL.h"
#include "window_snapshot.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr std::size_t MiB = 1024 * 1024;
constexpr std::size_t ItemLimit = 16 * MiB;

long peak_rss_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

enum Shape { Unbroken, Words };

std::string text_of(Shape shape, std::size_t length) {
    std::string text(length, 'x');
    if (shape == Words) {
        for (std::size_t i = 7; i < length; i += 8) text[i] = ' ';
    }
    return text;
}

// One entry with `text` in slot `s`, and a second, empty one to step to and back.
struct Window {
    Directory directory;
    std::unique_ptr<frm_ZEL> window;
    Window(int s, const std::string& text) {
        EntryTable table = empty_directory(2);
        table.set_text(1, SurnameSlot, "Ash");
        table.set_text(2, SurnameSlot, "Birch");
        table.set_text(1, s, text);
        directory.adopt(std::move(table));
        window = std::make_unique<frm_ZEL>(directory, ".");
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) std::puts("the window was not shown");
    }
    // Shows entry `e` as ">" or a list choice does, and lets the window paint it.
    void show(int e) {
        directory.choose(std::int16_t(e));
        window->show_record();
        window->repaint();
        QCoreApplication::processEvents();
    }
};

void report(benchmark::State& state) {
    state.counters["peak MiB"] = double(peak_rss_mib());
}

// ">" onto the entry with the long text, from an empty one.
void show_entry(benchmark::State& state) {
    const int s = int(state.range(0));
    const Shape shape = Shape(state.range(1));
    const std::size_t length = std::size_t(state.range(2));
    Window w(s, text_of(shape, length));
    for (auto _ : state) {
        w.show(1);
        state.PauseTiming();
        w.show(2);
        state.ResumeTiming();
    }
    report(state);
}

// Store reads every box back: the long text must come back whole.
void read_back(benchmark::State& state) {
    const std::size_t length = std::size_t(state.range(0));
    Window w(RemarksSlot, text_of(Unbroken, length));
    w.show(1);
    for (auto _ : state) {
        const QString text = w.window->text1(RemarksSlot);
        if (std::size_t(text.size()) != length) state.SkipWithError("the text came back cut");
    }
    report(state);
}

// Importing a correction file whose Remarks is one long text.
void import_remarks(benchmark::State& state) {
    const Shape shape = Shape(state.range(0));
    const std::size_t length = std::size_t(state.range(1));
    Window w(SurnameSlot, "Ash");
    CorrectionSnapshot file = take_snapshot(*w.window);
    file.Text1[RemarksSlot] = QString::fromStdString(text_of(shape, length));
    const QByteArray bytes = correction_text(file).toLatin1();
    const CorrectionSnapshot before = take_snapshot(*w.window);
    for (auto _ : state) {
        const CorrectionImport imported = import_correction(bytes, QStringLiteral("Ash_KAV.TXT"), before);
        if (!imported.window) {
            state.SkipWithError(imported.result.message.toStdString().c_str());
            break;
        }
        show_snapshot(*w.window, *imported.window);
        w.window->repaint();
        QCoreApplication::processEvents();
        state.PauseTiming();
        show_snapshot(*w.window, before);
        state.ResumeTiming();
    }
    report(state);
}

// The surname look-up listing a surname at the reader's limit, as the window opens it.
void surname_lookup(benchmark::State& state) {
    Window w(SurnameSlot, text_of(Shape(state.range(0)), ItemLimit));
    for (auto _ : state) {
        w.window->label1_Click(SurnameSlot); // closes the look-up the start left open
        w.window->label1_Click(SurnameSlot);
        w.window->repaint();
        QCoreApplication::processEvents();
    }
    report(state);
}

} // namespace

BENCHMARK(show_entry)
    ->ArgsProduct({{RemarksSlot}, {Unbroken, Words}, {512 * 1024, MiB}})
    ->ArgsProduct({{SurnameSlot, RemarksSlot}, {Unbroken, Words}, {ItemLimit}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
// Store of the entry with the long text, untouched.
void store_entry(benchmark::State& state) {
    const std::size_t length = std::size_t(state.range(0));
    Window w(RemarksSlot, text_of(Unbroken, length));
    w.show(1);
    for (auto _ : state) {
        w.window->cmd_store_Click();
        if (w.directory.table().text(1, RemarksSlot).size() != length) state.SkipWithError("stored cut");
    }
    report(state);
}

BENCHMARK(store_entry)->Arg(MiB)->Arg(ItemLimit)->Unit(benchmark::kMillisecond);
BENCHMARK(read_back)->Arg(MiB)->Arg(ItemLimit)->Unit(benchmark::kMillisecond);
BENCHMARK(import_remarks)
    ->ArgsProduct({{Unbroken, Words}, {MiB}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(surname_lookup)->Arg(Unbroken)->Arg(Words)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
